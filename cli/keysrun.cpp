#include "keysrun.h"

#include "base/tempfile.h"

#include "base/utf8.h"
#include "ini/inifile.h"
#include "keypad/keytable.h"
#include "state/settingsschema.h"

#include <array>
#include <charconv>
#include <sstream>
#include <string_view>

namespace pellix {

namespace {

struct TNamedKey {
    std::string_view Name;
    int Code;
};

constexpr auto NamedKeys = std::to_array<TNamedKey>({
    {"ENTER", KeyEnter}, {"+", KeyAdd},     {"-", KeySub},        {"*", KeyMul},
    {"/", KeyDiv},       {"CHS", KeyChs},   {"EEX", KeyEex},      {".", KeyPoint},
    {"BACK", KeyBack},   {"SQRT", KeySqrt}, {"EXP", KeyExp},      {"10X", KeyPwr10},
    {"YX", KeyPwr},      {"INV", KeyInv},   {"SIN", KeySin},      {"COS", KeyCos},
    {"TAN", KeyTan},     {"XY", KeyExg},    {"RDN", KeyRollDown}, {"STO", KeySTO},
    {"RCL", KeyRCL},     {"SUM", KeySum},
});

constexpr int HighestPressCode = 65535;

bool IsOneCharacter(std::string_view s) {
    const auto cps = DecodeUtf8(s);
    return cps && cps->size() == 1;
}

// Digits, signs, E and e belong to the number itself, and a blank is CHS
// when typed: as a separator any of them would change the numbers read.
bool IsPartOfNumbers(std::string_view sep) {
    return sep.size() == 1 &&
           std::string_view("0123456789+-Ee ").find(sep[0]) != std::string_view::npos;
}

constexpr const char* NotASeparator = "a separator cannot be a digit, a sign, E, e or a blank";

std::optional<TKeysToken> ParseToken(const std::string& arg) {
    TKeysToken t;
    t.Source = arg;
    if (arg.size() == 1 && arg[0] >= '0' && arg[0] <= '9') {
        t.Code = arg[0] - '0';
        return t;
    }
    if (arg == "f" || arg == "g") {
        t.Kind = TKeysToken::TKind::Prefix;
        t.Sender = arg == "f" ? PrefixSender::FKey : PrefixSender::GKey;
        return t;
    }
    for (const TNamedKey& k : NamedKeys) {
        if (arg == k.Name) {
            t.Code = k.Code;
            return t;
        }
    }
    if (arg.size() > 1 && arg[0] == '#') {
        const char* first = arg.data() + 1;
        const char* last = arg.data() + arg.size();
        int code = 0;
        const auto [end, ec] = std::from_chars(first, last, code);
        if (*first < '0' || *first > '9' || ec != std::errc() || end != last ||
            code > HighestPressCode)
            return std::nullopt;
        t.Code = code;
        return t;
    }
    if (!arg.empty() && arg[0] == '=') {
        const auto cps = DecodeUtf8(std::string_view(arg).substr(1));
        if (!cps)
            return std::nullopt;
        t.Kind = TKeysToken::TKind::Type;
        for (char32_t cp : *cps)
            t.Text += Utf16Units(cp);
        return t;
    }
    return std::nullopt;
}

// Value of "--name=value" when arg is that option.
std::optional<std::string> OptionValue(const std::string& arg, std::string_view name) {
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    return std::nullopt;
}

std::string FormatG17(double x) {
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::general, 17);
    return std::string(buf.data(), res.ptr);
}

void PrintState(std::ostream& out, const TZunEntry& entry) {
    const TZunCalc& c = entry.Calc();
    out << "X=" << FormatG17(c.Stack[0]) << " Y=" << FormatG17(c.Stack[1])
        << " Z=" << FormatG17(c.Stack[2]) << " T=" << FormatG17(c.Stack[3])
        << " LastX=" << FormatG17(c.LastX) << '\n';
    const Prefix p = entry.ActivePrefix();
    out << "Mode=" << static_cast<int>(c.Mode) << " Trig=" << static_cast<int>(c.TrigMode)
        << " FixLen=" << c.FixLen << " Input=" << (c.Input ? 1 : 0) << " Prefix="
        << (p == Prefix::F   ? 'f'
            : p == Prefix::G ? 'g'
                             : '-')
        << " Reg=";
    for (std::size_t i = 0; i < c.Reg.size(); ++i)
        out << (i ? "," : "") << FormatG17(c.Reg[i]);
    out << '\n';
}

// Presses one token; false when it asked to close (a typed q or Q).
bool Apply(TZunEntry& entry, const TKeysToken& t) {
    switch (t.Kind) {
    case TKeysToken::TKind::Press:
        entry.Press(t.Code);
        return true;
    case TKeysToken::TKind::Prefix:
        entry.lbFClick(t.Sender);
        return true;
    case TKeysToken::TKind::Type:
        for (char16_t ch : t.Text)
            if (entry.TypeChar(ch) == KeyPressResult::Close)
                return false;
        return true;
    }
    return true;
}

int UsageError(std::ostream& err, std::string_view message) {
    err << "pellix-keys: " << EscapeControls(message) << "\nTry 'pellix-keys --help'.\n";
    return KeysUsageError;
}

// Flushes the output; false, with a message, when it could not all be written
// (a full disk, a closed stdout).
bool OutputWritten(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) {
        return true;
    }
    err << "pellix-keys: cannot write the output\n";
    return false;
}

} // namespace

std::string KeysUsage() {
    return R"(Usage: pellix-keys [--decimal=C] [--group=S] [--ini=FILE] [--trace] [--state] TOKEN...

Presses the TOKENs in order on a fresh calculator and prints the display text
after the last one.

Options:
  --decimal=C   decimal separator, one character (default: from the locale)
  --group=S     thousands separator, one character; --group= for none
                (default: from the locale); neither separator may be a
                digit, + or -, E or e, or a blank, nor equal the other, and
                the decimal separator not _ (the entry's cursor)
  --ini=FILE    read the calculator's state from the settings file FILE first
                and write it back after the last token; other keys are kept;
                FILE stays locked from the read to the write, so that runs
                side by side (and the window) each see the other's result
  --trace       print the display text after every token instead
  --state       then print the stack, LastX, modes, prefix and registers
  -h, --help    print this help

Tokens (case-sensitive):
  0 ... 9                 digit keys
  f  g                    the prefix keys
  ENTER + - * / CHS EEX . BACK (back-arrow)
  SQRT EXP (e^x) 10X YX INV (1/x) SIN COS TAN XY (x<>y) RDN (roll down)
  STO RCL SUM (sigma+)
  #N                      a press of key code N (0 to 65535)
  =TEXT                   types each character of TEXT as on the keyboard;
                          q or Q ends the run as closing does

Exit status:
  0  success
  1  the --ini file could not be read or written, or the output could not
     be written, also to a closed pipe (message on stderr; the state is
     stored all the same)
  2  unknown token or option, or a separator that cannot be one (message on
     stderr, nothing on stdout)
)";
}

std::variant<TKeysOptions, std::string> ParseKeysArguments(std::span<const std::string> args) {
    TKeysOptions o;
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") {
            o.Help = true;
        } else if (arg == "--trace") {
            o.Trace = true;
        } else if (arg == "--state") {
            o.State = true;
        } else if (auto v = OptionValue(arg, "--decimal")) {
            if (!IsOneCharacter(*v))
                return "--decimal needs exactly one character: '" + arg + "'";
            if (IsPartOfNumbers(*v))
                return NotASeparator + (": '" + arg + "'");
            if (*v == std::string_view(&EntryCursor, 1))
                return "the decimal separator cannot be _, the entry's cursor: '" + arg + "'";
            o.Decimal = *v;
        } else if (auto g = OptionValue(arg, "--group")) {
            if (!g->empty() && !IsOneCharacter(*g))
                return "--group needs one character or nothing: '" + arg + "'";
            if (IsPartOfNumbers(*g))
                return NotASeparator + (": '" + arg + "'");
            o.Group = *g;
        } else if (auto f = OptionValue(arg, "--ini")) {
            if (f->empty())
                return "--ini needs a file name";
            o.Ini = *f;
        } else if (arg.starts_with("--")) {
            return "unknown option '" + arg + "'";
        } else if (auto t = ParseToken(arg)) {
            o.Tokens.push_back(std::move(*t));
        } else {
            return "unknown token '" + arg + "'";
        }
    }
    if (o.Decimal && o.Group && *o.Decimal == *o.Group)
        return "the decimal and group separators must differ";
    return o;
}

int RunPellixKeys(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                  const std::function<Separators()>& environment,
                  std::optional<std::uint32_t> seed) {
    auto parsed = ParseKeysArguments(args);
    if (const auto* message = std::get_if<std::string>(&parsed))
        return UsageError(err, *message);
    const TKeysOptions& o = std::get<TKeysOptions>(parsed);
    if (o.Help) {
        out << KeysUsage();
        return OutputWritten(out, err) ? KeysOk : KeysFailed;
    }

    Separators sep;
    if (!o.Decimal || !o.Group)
        sep = environment();
    if (o.Decimal)
        sep.Decimal = *o.Decimal;
    if (o.Group)
        sep.Thousands = *o.Group;
    if (sep.Thousands == sep.Decimal) {
        if (o.Group)
            return UsageError(err, "the decimal and group separators must differ");
        sep.Thousands.clear(); // the locale's group clashes with --decimal: no grouping
    }

    TZunCalc calc = seed ? TZunCalc(*seed) : TZunCalc();
    calc.Regional = sep;
    std::optional<TIniDocument> doc;
    TKeptTexts kept; // texts of the file that do not read stay as they are
    // From the read to the store, so that runs side by side lose no update.
    std::optional<TFileLock> lock;
    if (o.Ini) {
        lock.emplace(*o.Ini);
        doc = LoadIniFile(*o.Ini);
        if (doc)
            ReadSettings(*doc, {calc}, sep.Decimal, kept);
    }

    TZunEntry entry(calc);
    entry.SyncTrigCaption();
    entry.RefreshDisplay();

    // The output follows the store: the lock is not held while a reader is
    // slow, and a closed output loses no state.
    std::ostringstream shown;
    for (const TKeysToken& t : o.Tokens) {
        const bool goOn = Apply(entry, t);
        if (o.Trace)
            shown << entry.DisplayText() << '\n';
        if (!goOn)
            break;
    }
    if (!o.Trace)
        shown << entry.DisplayText() << '\n';
    if (o.State)
        PrintState(shown, entry);

    int code = KeysOk;
    if (o.Ini) {
        const std::string name = EscapeControls(*o.Ini);
        if (!doc) {
            err << "pellix-keys: cannot read '" << name << "'; it was left unchanged\n";
            code = KeysFailed;
        } else {
            WriteSettings(*doc, {calc}, sep.Decimal, kept);
            if (!SaveIniFile(*o.Ini, *doc)) {
                err << "pellix-keys: cannot write '" << name << "'\n";
                code = KeysFailed;
            }
        }
        lock.reset();
    }
    out << shown.view();
    return OutputWritten(out, err) ? code : KeysFailed;
}

} // namespace pellix
