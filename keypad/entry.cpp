#include "entry.h"

#include "base/utf8.h"
#include "engine/extended.h"
#include "engine/textnumber.h"
#include "keyboard.h"

#include <array>
#include <exception>
#include <optional>

namespace pellix {

namespace {

// An entry text takes digits while it is shorter than this many characters.
constexpr std::size_t MaxEntryChars = 12;
constexpr std::string_view InvalidData = "Invalid Data";

constexpr std::array<std::string_view, 3> FormatPrompts = {"FIX _", "SCI _", "ENG _"};
constexpr std::array<std::string_view, 3> TrigCaptions = {"", "RAD", "GRAD"};

// The operator sign a prompt shows for an arithmetic key, or '\0'.
char PromptOperator(int code) {
    const KeyMeaning m = MeaningOf(code, Prefix::None);
    if (m.Action != KeyAction::Operation) {
        return '\0';
    }
    switch (m.Arg) {
    case zunDiv:
        return '/';
    case zunMul:
        return '*';
    case zunSub:
        return '-';
    case zunAdd:
        return '+';
    default:
        return '\0';
    }
}

// The register digit of a key code, or -1.
int RegisterDigit(int code) {
    const KeyMeaning m = MeaningOf(code, Prefix::None);
    return m.Action == KeyAction::Digit ? m.Arg : -1;
}

std::string OperatorPrompt(std::string_view word, char op) {
    std::string text(word);
    text += op;
    text += " _";
    return text;
}

// The operator of a displayed prompt: "STO+ _" gives '+'; the plain prompt or
// any other text (an error shown after a fault) gives '\0'.
char OperatorOfPrompt(std::string_view display, std::string_view word) {
    if (display.size() == word.size() + 3 && display.starts_with(word) && display.ends_with(" _")) {
        const char op = display[word.size()];
        if (op == '/' || op == '*' || op == '-' || op == '+') {
            return op;
        }
    }
    return '\0';
}

// Register arithmetic of the operator prompts ('/', '*', '-', '+'), register
// on the left. Runs in
// extended precision and rounds to double; division by zero, overflow and
// invalid operations (0/0, not-a-number) are faults, never infinities or NaNs.
double RegisterArithmetic(char op, double reg, double x) {
    const Ext a = reg;
    const Ext b = x;
    switch (op) {
    case '/':
        return ToDouble(Divide(a, b));
    case '*':
        return ToDouble(a * b);
    case '-':
        return ToDouble(a - b);
    default:
        return ToDouble(a + b);
    }
}

// An annunciator caption: the letter when it was empty, else empty.
void Toggle(std::string& caption, char letter) {
    if (caption.empty()) {
        caption.assign(1, letter);
    } else {
        caption.clear();
    }
}

} // namespace

// Notifies the owner once the outermost public call ends, however it ends, if
// what the owner shows for the machine differs from what it was at the start.
// Without a callback nothing is copied, so the command-line tool and the
// benchmarks pay nothing.
class TZunEntry::TChangeNotice {
public:
    explicit TChangeNotice(TZunEntry& entry)
        : FEntry(entry), FOuter(entry.FNoticeDepth++ == 0 && entry.FOnChange) {
        if (FOuter) {
            FBefore = Shown();
        }
    }
    ~TChangeNotice() {
        --FEntry.FNoticeDepth;
        if (FOuter && !(Shown() == FBefore)) {
            FEntry.FOnChange();
        }
    }
    TChangeNotice(const TChangeNotice&) = delete;
    TChangeNotice& operator=(const TChangeNotice&) = delete;

private:
    struct TShown {
        std::string Display, F, G, Trig;
        bool Frac = false, STO = false, RCL = false;
        bool operator==(const TShown&) const = default;
    };

    TShown Shown() const {
        const TZunEntry& e = FEntry;
        return {e.FDisplay,   e.FCaptionF, e.FCaptionG, e.FCaptionTrig,
                e.FFracInput, e.FSTOInput, e.FRCLInput};
    }

    TZunEntry& FEntry;
    bool FOuter;
    TShown FBefore;
};

TZunEntry::TZunEntry(TZunCalc& calc) : FCalc(calc) {}

Prefix TZunEntry::ActivePrefix() const {
    if (IsGPrefix()) {
        return Prefix::G;
    }
    return IsFPrefix() ? Prefix::F : Prefix::None;
}

void TZunEntry::RefreshDisplay() {
    const TChangeNotice notice(*this);
    FDisplay = FCalc.Display();
}

void TZunEntry::AppException(std::string_view message) {
    const TChangeNotice notice(*this);
    if (message.find("floating") != std::string_view::npos) {
        FCalc.FError = InvalidData;
    } else {
        FCalc.FError = message;
    }
    RefreshDisplay();
}

void TZunEntry::SyncTrigCaption() {
    const TChangeNotice notice(*this);
    const auto mode = static_cast<std::size_t>(FCalc.TrigMode);
    if (mode < TrigCaptions.size()) {
        FCaptionTrig = TrigCaptions[mode];
    }
}

void TZunEntry::lbFClick(PrefixSender sender) {
    const TChangeNotice notice(*this);
    if (sender == PrefixSender::GKey) {
        Toggle(FCaptionG, 'g');
        FCaptionF.clear();
    } else {
        Toggle(FCaptionF, 'f');
        FCaptionG.clear();
    }
}

void TZunEntry::KeyClick(int code) {
    const TChangeNotice notice(*this);
    FCode = code;
    FRefresh = true;

    // The digit count of FIX, SCI or ENG: every other key is ignored.
    if (FFracInput) {
        const int digit = RegisterDigit(code);
        if (digit >= 0) {
            FCalc.FixLen = digit;
            RefreshDisplay();
            FFracInput = false;
        }
        return;
    }
    if (HandleRegisterPrompt()) {
        return;
    }

    if (!FDisplay.empty() && FDisplay.back() == EntryCursor) {
        FDisplay.pop_back();
    }

    const Prefix prefix = ActivePrefix();
    const KeyMeaning plain = MeaningOf(code, Prefix::None);
    const KeyMeaning meaning = MeaningOf(code, prefix);

    // Digit entry: no prefix clearing and no refresh.
    if (prefix == Prefix::None && plain.Action == KeyAction::Digit) {
        const char digit = static_cast<char>('0' + plain.Arg);
        if (FCalc.Input) {
            FDisplay.assign(1, digit);
            FDisplay += EntryCursor;
        } else if (Utf8CharCount(FDisplay) < MaxEntryChars) {
            FDisplay += digit;
            FDisplay += EntryCursor;
        }
        FCalc.Input = false;
        return;
    }

    // Keys of the entry-editing kind (back-arrow, CHS, EEX, point) keep a number
    // being keyed in; every other key ends it. g CHS and g EEX are entry keys
    // with a shifted action that is no edit: the typed number replaces X first.
    const bool editsEntry = EditsEntry(plain.Action);
    if (!FCalc.Input) {
        if (!editsEntry) {
            CompleteEntry();
        } else if (!EditsEntry(meaning.Action)) {
            FCalc.Stack[0] = PlainNumber(FDisplay, FCalc.Regional.Decimal);
        }
    }
    if (!editsEntry) {
        FLastKey = code;
    }

    Perform(meaning);

    // Faults are found by explicit tests of each result, not by floating-point
    // traps, so the environment's exception mask tells nothing here and is not
    // consulted: with invalid operations masked by default, a check of it would
    // show "Invalid Data" after every key.
    if (FRefresh) {
        RefreshDisplay();
    }
    FCaptionG.clear();
    FCaptionF.clear();
}

void TZunEntry::Perform(KeyMeaning meaning) {
    switch (meaning.Action) {
    case KeyAction::None:
    case KeyAction::Digit: // a digit key with a prefix has a shifted meaning
        break;
    case KeyAction::Operation:
        FCalc.ExecOp(static_cast<TZunOperation>(meaning.Arg));
        break;
    case KeyAction::BackArrow:
        BackArrow();
        break;
    case KeyAction::ChangeSign:
        ChangeSign();
        break;
    case KeyAction::Exponent:
        AddExponent();
        break;
    case KeyAction::DecimalPoint:
        AddDecimalPoint();
        break;
    case KeyAction::Enter:
        PushDisplay();
        break;
    case KeyAction::LastX:
        FLastKey = 0;
        FCalc.ExecOp(zunLastX);
        break;
    case KeyAction::PushPi:
        FCalc.Push(Pi);
        break;
    case KeyAction::FormatPrompt:
        FDisplay = FormatPrompts[meaning.Arg];
        FCalc.Mode = static_cast<TZunMode>(meaning.Arg);
        FFracInput = true;
        FRefresh = false;
        break;
    case KeyAction::AngleMode:
        FCalc.TrigMode = static_cast<TZunTrigMode>(meaning.Arg);
        FCaptionTrig = TrigCaptions[meaning.Arg];
        break;
    case KeyAction::StorePrompt:
        FDisplay = "STO _";
        FSTOInput = true;
        FRefresh = false;
        break;
    case KeyAction::RecallPrompt:
        FDisplay = "RCL _";
        FRCLInput = true;
        FRefresh = false;
        break;
    }
}

// The number being keyed in goes to X: it replaces X when ENTER came before
// it (ENTER has pushed already), else it is pushed.
void TZunEntry::CompleteEntry() {
    if (FLastKey == KeyEnter) {
        FCalc.Stack[0] = NumberOfText(FDisplay, FCalc.Regional);
        FCalc.Input = true;
    } else {
        PushDisplay();
    }
}

bool TZunEntry::Paste(std::string_view text) {
    const TChangeNotice notice(*this);
    const std::optional<double> value = PasteNumber(text, FCalc.Regional.Decimal);
    if (!value) {
        return false;
    }
    if (!FCalc.Input) {
        if (!FDisplay.empty() && FDisplay.back() == EntryCursor) {
            FDisplay.pop_back();
        }
        CompleteEntry();
    }
    FLastKey = 0; // a number keyed in next follows no ENTER
    FCalc.Push(*value);
    RefreshDisplay();
    return true;
}

void TZunEntry::SetRegional(const Separators& sep) {
    const TChangeNotice notice(*this);
    FCalc.Regional = sep;
    if (FCalc.Input && !FFracInput && !FSTOInput && !FRCLInput) {
        RefreshDisplay();
    }
}

void TZunEntry::PushDisplay() {
    const double v = NumberOfText(FDisplay, FCalc.Regional);
    FCalc.Push(v);
    RefreshDisplay();
}

void TZunEntry::BackArrow() {
    if (FCalc.Input) {
        FCalc.Pop();
        FCalc.Push(0);
        return;
    }
    if (Utf8CharCount(FDisplay) <= 1) {
        FCalc.Input = true; // entry abandoned: the refresh shows X again
        return;
    }
    FDisplay.resize(Utf8WithoutLastChar(FDisplay).size()); // the separator may take several bytes
    FRefresh = false;
}

void TZunEntry::ChangeSign() {
    if (FCalc.Input) {
        FCalc.ExecOp(zunCHS);
        return;
    }
    FRefresh = false;
    if (FDisplay.empty()) {
        return;
    }
    const std::size_t e = FDisplay.find('E');
    const std::size_t at = e == std::string::npos ? 0 : e + 1;
    if (at < FDisplay.size() && FDisplay[at] == '-') {
        FDisplay.erase(at, 1);
    } else {
        FDisplay.insert(at, 1, '-');
    }
}

void TZunEntry::AddExponent() {
    if (FCalc.Input) {
        FDisplay = "1E";
    } else if (FDisplay.find('E') == std::string::npos) {
        FDisplay += 'E';
    }
    FCalc.Input = false;
    FRefresh = false;
}

void TZunEntry::AddDecimalPoint() {
    const std::string& sep = FCalc.Regional.Decimal;
    if (FCalc.Input) {
        FDisplay = sep;
        FCalc.Input = false;
    } else if (FDisplay.find(sep) == std::string::npos) {
        FDisplay += sep;
        FCalc.Input = false;
    }
    FRefresh = false;
}

// The register prompts of STO and RCL: back-arrow cancels, an arithmetic key
// puts its operator into the prompt, a digit names the register.
bool TZunEntry::HandleRegisterPrompt() {
    if (!FSTOInput && !FRCLInput) {
        return false;
    }
    const bool store = FSTOInput;
    bool& prompt = store ? FSTOInput : FRCLInput;
    const std::string_view word = store ? "STO" : "RCL";
    if (FCode == KeyBack) {
        RefreshDisplay();
        prompt = false;
    } else if (const char keyOp = PromptOperator(FCode); keyOp != '\0') {
        FDisplay = OperatorPrompt(word, keyOp);
    } else if (const int d = RegisterDigit(FCode); d >= 0) {
        double& reg = FCalc.Reg[static_cast<std::size_t>(d)];
        const double x = FCalc.Stack[0];
        const char op = OperatorOfPrompt(FDisplay, word);
        const double value = op != '\0' ? RegisterArithmetic(op, reg, x) : store ? x : reg;
        if (store) {
            reg = value;
            FCalc.RegStored[static_cast<std::size_t>(d)] = true;
        } else {
            FCalc.Push(value);
        }
        RefreshDisplay();
        prompt = false;
    }
    return true;
}

void TZunEntry::Guarded(const std::function<void()>& action) {
    const TChangeNotice notice(*this);
    try {
        action();
    } catch (const std::exception& fault) { // EMathError and any other fault
        AppException(fault.what());
    }
}

void TZunEntry::Press(int code) {
    Guarded([this, code] { KeyClick(code); });
}

KeyPressResult TZunEntry::FormKeyPress(char16_t ch) {
    const TChangeNotice notice(*this);
    switch (ch) {
    case u'Q':
    case u'q':
        return KeyPressResult::Close;
    case u' ':
        KeyClick(KeyChs);
        return KeyPressResult::Done;
    case u'E':
    case u'e':
        KeyClick(KeyEex);
        return KeyPressResult::Done;
    case u'F':
    case u'f':
        lbFClick(PrefixSender::FKey);
        return KeyPressResult::Done;
    case u'G':
    case u'g':
        lbFClick(PrefixSender::GKey);
        return KeyPressResult::Done;
    default:
        break;
    }
    if (ch >= u'a' && ch <= u'z') {
        ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
    const FaceKey* key = KeyToSender(static_cast<std::uint16_t>(ch));
    if (key != nullptr && key->Kind == SpotKind::Key) {
        KeyClick(key->Code);
    }
    return KeyPressResult::Done;
}

KeyPressResult TZunEntry::TypeChar(char16_t ch) {
    KeyPressResult result = KeyPressResult::Done;
    Guarded([&] { result = FormKeyPress(ch); });
    return result;
}

} // namespace pellix
