#pragma once

// The entry state machine: turns key codes into number entry, prompts and
// engine operations. It owns what the main window shows for it (the display
// text, the f, g and angle annunciators) and needs no window: it tells its
// owner through one callback when any of them changed, and the window copies
// the texts into its labels then; the command-line tool prints them.

#include "engine/zuncalc.h"
#include "keytable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pellix {

// Who clicked the prefix toggle: the g key toggles g, anything else toggles f.
enum class PrefixSender : std::uint8_t { FKey, GKey, Label };

// The longest text of a number that the display shows: "-999,999,999,999." and
// nine decimals. Entry texts and prompts are shorter; only error texts may be
// longer.
inline constexpr std::size_t MaxDisplayChars = 26;

// The display shows a number being keyed with this cursor after it.
inline constexpr char EntryCursor = '_';

// What the caller must do after a typed character.
enum class KeyPressResult : std::uint8_t { Done, Close };

class TZunEntry {
public:
    explicit TZunEntry(TZunCalc& calc);

    // One key press with key code `code` (never the prefix code -1). Faults of
    // the engine and of the register arithmetic leave this call: the press ends
    // where the fault arose.
    void KeyClick(int code);

    // KeyClick through Guarded.
    void Press(int code);

    // A typed character. Q closes (the caller stores the settings and closes);
    // blank is CHS, E is EEX, F and G toggle the prefixes, any other character
    // is looked up in the keyboard table (letters upper-cased first).
    KeyPressResult FormKeyPress(char16_t ch);

    // FormKeyPress through Guarded; a fault ends the character as Done.
    KeyPressResult TypeChar(char16_t ch);

    // Runs an action of a front end (a key press, a typed character, a paste,
    // a menu command) and turns a fault that leaves it into the display's
    // error text (AppException). Faults that the engine does not handle end
    // here, in the front end's own code, not in a toolkit's event loop.
    void Guarded(const std::function<void()>& action);

    // The owner's callback: called once at the end of each call of this
    // machine that changed the display text, an annunciator or a prompt, and
    // never after a call that changed none of them. It must not throw: it also
    // runs while a fault leaves KeyClick.
    void OnChange(std::function<void()> handler) { FOnChange = std::move(handler); }

    // Pastes the number of a text (the clipboard's) in the strict form of
    // PasteNumber. A number being keyed in is completed first, as any key that
    // is no edit completes it, then the value is pushed and shown; the next
    // number keyed in lifts the stack again. A text that is no such number
    // changes nothing and gives false. Faults of the completion leave this
    // call, as those of a key press do.
    bool Paste(std::string_view text);

    // New regional separators (the system's changed). A display that shows X
    // shows it in the new notation at once, so that ENTER reads back the value
    // it shows; a number being keyed in or a prompt stays as it is.
    void SetRegional(const Separators& sep);

    // The prefix toggle of the f and g keys and of the three annunciators.
    void lbFClick(PrefixSender sender);

    // Display text := the engine's display text (consumes a pending error text).
    void RefreshDisplay();

    // The fault handler: a message containing "floating" shows "Invalid Data",
    // any other message is shown as it is.
    void AppException(std::string_view message);

    // Angle annunciator from the engine's angle mode; a mode outside the three
    // known values leaves it unchanged (used after the settings are read).
    void SyncTrigCaption();

    bool IsFPrefix() const { return !FCaptionF.empty(); }
    bool IsGPrefix() const { return !FCaptionG.empty(); }
    Prefix ActivePrefix() const;

    const std::string& DisplayText() const { return FDisplay; }
    const std::string& FCaption() const { return FCaptionF; }
    const std::string& GCaption() const { return FCaptionG; }
    const std::string& TrigCaption() const { return FCaptionTrig; }

    bool IsFracInput() const { return FFracInput; }
    bool IsSTOInput() const { return FSTOInput; }
    bool IsRCLInput() const { return FRCLInput; }
    std::int32_t LastKey() const { return FLastKey; }

    TZunCalc& Calc() { return FCalc; }
    const TZunCalc& Calc() const { return FCalc; }

private:
    void CompleteEntry();
    void PushDisplay();
    void AddDecimalPoint();
    void AddExponent();
    void ChangeSign();
    void BackArrow();
    bool HandleRegisterPrompt();
    void Perform(KeyMeaning meaning);

    class TChangeNotice;

    TZunCalc& FCalc;
    std::string FDisplay;
    std::string FCaptionF;
    std::string FCaptionG;
    std::string FCaptionTrig;
    bool FFracInput = false;
    bool FSTOInput = false;
    bool FRCLInput = false;
    std::int32_t FLastKey = 0;

    // State of the press in progress, read and cleared by the private steps.
    int FCode = 0;
    bool FRefresh = true;

    std::function<void()> FOnChange;
    int FNoticeDepth = 0; // public calls in progress; the outermost one notifies
};

} // namespace pellix
