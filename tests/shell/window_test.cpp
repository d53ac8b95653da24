#include "base/rounding.h"
#include "imagediff.h"
#include "shell/settings.h"
#include "shell/shortcut.h"
#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"
#include "waitfor.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cmath>
#include <set>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using namespace pellix;

namespace {

class CountingPlayer : public IClickPlayer {
public:
    explicit CountingPlayer(std::atomic<int>& plays) : FPlays(plays) {}
    void Play() override { ++FPlays; }

private:
    std::atomic<int>& FPlays;
};

class FakeAbout : public QObject, public IAboutBox {
public:
    FakeAbout(QObject* owner, int& opens) : QObject(owner), FOpens(opens) {}
    void Open() override { ++FOpens; }

private:
    int& FOpens;
};

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Desktop")));
        w = Create();
    }

    std::unique_ptr<TZunMain> Create() {
        TShellEnvironment env = pellix::testing::TestEnvironment(dir.path());
        env.Player = std::make_unique<CountingPlayer>(plays);
        env.AboutFactory = [this](QWidget* owner) { return new FakeAbout(owner, aboutOpens); };
        auto win = std::make_unique<TZunMain>(std::move(env));
        win->show();
        return win;
    }

    QString IniPath() const { return dir.filePath(QStringLiteral("pellix.ini")); }

    // A new window started on a settings file of the given text.
    void RestartWith(const char* ini) {
        w.reset();
        QFile f(IniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
        f.close();
        w = Create();
    }

    QString IniText() const {
        QFile f(IniPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    THotSpot* Spot(const char* name) {
        THotSpot* s = w->HotSpot(name);
        EXPECT_NE(s, nullptr) << name;
        return s;
    }

    void Click(const char* name, Qt::MouseButton button = Qt::LeftButton) {
        THotSpot* s = Spot(name);
        QTest::mouseClick(s, button, {}, s->rect().center());
    }

    void ClickKeys(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            Click(n);
        }
    }

    QString Display() { return w->Label("lbDisplay")->text(); }

    void SendKey(QEvent::Type type, int key, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent e(type, key, mods, text);
        QApplication::sendEvent(w.get(), &e);
    }

    void Wheel(int delta) {
        const QPointF pos(20, 20);
        QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.get(), &e);
    }

    QAction* MenuItem(const char* name) {
        return w->PopupMenu()->findChild<QAction*>(QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    int aboutOpens = 0;
    std::atomic<int> plays{0};
    std::unique_ptr<TZunMain> w;
};

TEST_F(Window, ClickedKeysAddThreeAndFour) {
    ClickKeys({"im3", "imEnter", "im4", "imAdd"});
    EXPECT_EQ(Display(), QStringLiteral("7.000000000"));
    EXPECT_EQ(w->Zun.Stack[0], 7);
}

TEST_F(Window, ReleaseLeftOfHotSpotKeysNothingRightOfItKeys) {
    THotSpot* s = Spot("im5");
    QTest::mousePress(s, Qt::LeftButton, {}, s->rect().center());
    EXPECT_TRUE(s->IsPressed());
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(-4, s->height() / 2));
    EXPECT_FALSE(s->IsPressed());
    EXPECT_EQ(Display(), QStringLiteral("0.000000000"));

    for (QPoint release : {QPoint(s->width() + 9, 3), QPoint(3, -9), QPoint(3, s->height() + 9)}) {
        QTest::mousePress(s, Qt::LeftButton, {}, s->rect().center());
        QTest::mouseRelease(s, Qt::LeftButton, {}, release);
    }
    EXPECT_EQ(Display(), QStringLiteral("555_"));
}

TEST_F(Window, EveryMouseButtonKeysAndClicks) {
    Click("im2", Qt::RightButton);
    Click("im1", Qt::MiddleButton);
    EXPECT_EQ(Display(), QStringLiteral("21_"));
    QTRY_COMPARE(plays.load(), 2);
}

TEST_F(Window, SoundSwitchedOffClicksNoMore) {
    MenuItem("mnSound")->trigger();
    EXPECT_FALSE(w->IsSound());
    EXPECT_FALSE(MenuItem("mnSound")->isChecked());
    Click("im1");
    QTest::qWait(50);
    EXPECT_EQ(plays.load(), 0);
    EXPECT_EQ(Display(), QStringLiteral("1_"));
}

TEST_F(Window, PrefixKeysToggleAnnunciators) {
    TFaceLabel* f = w->Label("lbF");
    TFaceLabel* g = w->Label("lbG");
    Click("imF");
    EXPECT_EQ(f->text(), QStringLiteral("f"));
    Click("imF");
    EXPECT_EQ(f->text(), QString());
    Click("imF");
    Click("imG");
    EXPECT_EQ(f->text(), QString());
    EXPECT_EQ(g->text(), QStringLiteral("g"));
    EXPECT_EQ(Display(), QStringLiteral("0.000000000")) << "prefix keys do not key";
    Click("im8"); // g 8: RAD
    EXPECT_EQ(w->Label("lbTrig")->text(), QStringLiteral("RAD"));
    EXPECT_EQ(g->text(), QString());
}

TEST_F(Window, TypedKeysAddThreeAndFour) {
    QTest::keyClick(w.get(), Qt::Key_3);
    QTest::keyClick(w.get(), Qt::Key_Return);
    QTest::keyClick(w.get(), Qt::Key_4);
    QTest::keyClick(w.get(), Qt::Key_Plus);
    EXPECT_EQ(Display(), QStringLiteral("7.000000000"));
}

TEST_F(Window, AsteriskTypedWithTheEightKeyShowsEightAndMultiplies) {
    ClickKeys({"im3", "imEnter", "im4"});
    SendKey(QEvent::KeyPress, Qt::Key_8, Qt::ShiftModifier, QStringLiteral("*"));
    EXPECT_TRUE(Spot("im8")->IsPressed());
    EXPECT_FALSE(Spot("imMul")->IsPressed());
    EXPECT_EQ(Display(), QStringLiteral("12.000000000"));
    SendKey(QEvent::KeyRelease, Qt::Key_8, Qt::ShiftModifier, QStringLiteral("*"));
    EXPECT_FALSE(Spot("im8")->IsPressed());
}

TEST_F(Window, DeleteKeyOnlyAnimatesThePointKey) {
    ClickKeys({"im1"});
    SendKey(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    EXPECT_TRUE(Spot("imPt")->IsPressed());
    EXPECT_EQ(Display(), QStringLiteral("1_"));
    SendKey(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    EXPECT_FALSE(Spot("imPt")->IsPressed());
    QTRY_COMPARE(plays.load(), 2);
}

TEST_F(Window, TypedLetterTogglesPrefixAndBlankChangesSign) {
    QTest::keyClick(w.get(), Qt::Key_F, Qt::NoModifier);
    EXPECT_EQ(w->Label("lbF")->text(), QStringLiteral("f"));
    QTest::keyClick(w.get(), Qt::Key_F, Qt::NoModifier);
    QTest::keyClick(w.get(), Qt::Key_5);
    QTest::keyClick(w.get(), Qt::Key_Space);
    EXPECT_EQ(Display(), QStringLiteral("-5"));
}

TEST_F(Window, ThirteenNotchesDownReachTheLimitAndTheFourteenthIsRefused) {
    for (int i = 1; i <= 13; ++i) {
        Wheel(-120);
        EXPECT_NEAR(w->TotalScale(), std::pow(1.1, -i), 1e-12) << i;
    }
    const QSize size = w->ClientSize();
    Wheel(-120);
    EXPECT_NEAR(w->TotalScale(), std::pow(1.1, -13), 1e-12);
    EXPECT_EQ(w->ClientSize(), size);
    EXPECT_TRUE(IniText().contains(QStringLiteral("TotalScale=0.289664")));
}

TEST_F(Window, OneNotchUpRoundsEveryControlFromItsDesignValue) {
    Wheel(120);
    EXPECT_EQ(w->ClientSize(), QSize(705, 444)); // 641 * 1.1 = 705.1, 404 * 1.1 = 444.4
    EXPECT_EQ(w->width(), 705);
    EXPECT_EQ(Spot("im7")->geometry(), QRect(428, 158, 43, 43)); // 389, 144, 39, 39
    EXPECT_EQ(Spot("imEnter")->geometry(), QRect(363, 299, 43, 117));
    EXPECT_EQ(w->Label("lbDisplay")->FontPoints(), 24); // 22 pt * 1.1
    EXPECT_TRUE(IniText().contains(QStringLiteral("TotalScale=1.1")));
    Wheel(60); // half a notch: nothing yet
    EXPECT_EQ(w->ClientSize(), QSize(705, 444));
    Wheel(60);
    EXPECT_EQ(w->ClientSize(), QSize(776, 489)); // 404 * 1.21 = 488.84, not 444 * 1.1
}

TEST_F(Window, StayOnTopTogglingStoresAndTheCheckMarkFollows) {
    QSignalSpy shown(w->windowHandle(), &QWindow::visibleChanged);
    QAction* item = MenuItem("mnStayOnTop");
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(w->StayOnTop());
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(IniText().contains(QStringLiteral("StayOnTop=0")));
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(IniText().contains(QStringLiteral("StayOnTop=1")));
    EXPECT_EQ(shown.count(), 0) << "the band changes without hiding the window";
    EXPECT_TRUE(w->isVisible());
}

TEST_F(Window, TypedQStoresAndCloses) {
    ClickKeys({"im4", "im2", "imEnter"});
    EXPECT_FALSE(QFile::exists(IniPath()));
    QTest::keyClick(w.get(), Qt::Key_Q);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(IniText().contains(QStringLiteral("Zun.Stack[0]=42")));
}

TEST_F(Window, RestartRestoresStackModesPositionAndZoom) {
    ClickKeys({"im4", "im2", "imEnter", "im7"});
    Click("imF");
    Click("im8"); // SCI
    Click("im3");
    Click("imG");
    Click("im9"); // GRAD
    Wheel(120);
    w->move(50, 100);
    Click("imClose");
    EXPECT_FALSE(w->isVisible());
    w.reset();

    w = Create();
    EXPECT_EQ(w->Zun.Stack[0], 7);
    EXPECT_EQ(w->Zun.Stack[1], 42);
    EXPECT_EQ(w->Zun.Mode, zunSci);
    EXPECT_EQ(w->Zun.FixLen, 3);
    EXPECT_EQ(w->Zun.TrigMode, zunGrad);
    EXPECT_EQ(w->Label("lbTrig")->text(), QStringLiteral("GRAD"));
    EXPECT_EQ(Display(), QStringLiteral("7.00E+000"));
    EXPECT_NEAR(w->TotalScale(), 1.1, 1e-12);
    EXPECT_EQ(w->ClientSize(), QSize(705, 444));
    EXPECT_EQ(w->pos(), QPoint(50, 100));
}

TEST_F(Window, FirstRunPlacesShortcutAndARestartKeepsIt) {
    const QString desktop = dir.filePath(QStringLiteral("Desktop"));
    EXPECT_TRUE(ShortcutExists(QStringLiteral("Pellix"), desktop));
    EXPECT_TRUE(MenuItem("mnShowOnDesktop")->isChecked());
    w.reset(); // ended without any store: the next start is a first run again
    w = Create();
    EXPECT_TRUE(ShortcutExists(QStringLiteral("Pellix"), desktop));
    MenuItem("mnShowOnDesktop")->trigger();
    EXPECT_FALSE(ShortcutExists(QStringLiteral("Pellix"), desktop));
    EXPECT_FALSE(MenuItem("mnShowOnDesktop")->isChecked());
}

TEST_F(Window, PasteAcceptsOnlyTheStrictNumberForm) {
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText(QStringLiteral(" -2.5e3 "));
    MenuItem("Paste1")->trigger();
    EXPECT_EQ(w->Zun.Stack[0], -2500);
    EXPECT_EQ(Display(), QStringLiteral("-2,500.000000000"));
    for (const char* text : {"1,234.5", "-2.5e3\n", "", "abc"}) {
        clip->setText(QString::fromLatin1(text));
        MenuItem("Paste1")->trigger();
        EXPECT_EQ(w->Zun.Stack[0], -2500) << text;
        EXPECT_EQ(w->Zun.Stack[1], 0) << text;
    }
}

TEST_F(Window, CopyPutsTheDisplayTextAsShown) {
    ClickKeys({"im1", "im2", "im3", "im4", "imPt", "im5", "imEnter"});
    MenuItem("Copy1")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1,234.500000000"));
    MenuItem("Paste1")->trigger(); // grouped text is refused
    EXPECT_EQ(w->Zun.Stack[1], 1234.5);
    EXPECT_EQ(w->Zun.Stack[2], 0);
}

TEST_F(Window, SquareRootOfMinusOneShowsTheFaultMessage) {
    ClickKeys({"im1", "imChs", "imSqrt"});
    EXPECT_EQ(Display(), QStringLiteral("Ung\u00fcltige Gleitkommaoperation"));
    Click("imF"); // the prefix still works after the fault
    EXPECT_EQ(w->Label("lbF")->text(), QStringLiteral("f"));
}

TEST_F(Window, DraggingThePictureMovesTheWindowButKeysAndDisplayDoNot) {
    const QPoint start = w->pos();
    QTest::mousePress(w.get(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(w.get(), QPoint(50, 60));
    QTest::mouseRelease(w.get(), Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(w->pos(), start + QPoint(30, 40));

    const QPoint after = w->pos();
    TFaceLabel* display = w->Label("lbDisplay");
    QTest::mousePress(display, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(w.get(), QPoint(90, 90));
    QTest::mouseRelease(display, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(w->pos(), after);
}

// Right-button events as the window system delivers them, through the native window.
TEST_F(Window, RightClickOpensTheMenuAtTheReleaseAndARightDragOnlyMoves) {
    const struct {
        QPoint At, Move;
        bool Menu;
    } cases[] = {{{20, 20}, {}, true},
                 {w->Label("lbDisplay")->geometry().center(), {}, true},
                 {Spot("im7")->geometry().center(), {}, false}, // keys 7
                 {{20, 20}, {3, 2}, false}};                    // a small drag
    for (const auto& c : cases) {
        const QPoint start = w->pos();
        QTest::mousePress(w->windowHandle(), Qt::RightButton, {}, c.At);
        QTest::mouseMove(w->windowHandle(), c.At + c.Move);
        EXPECT_FALSE(w->PopupMenu()->isVisible()) << c.At.x() << ": not before the release";
        // The window has followed the pointer: it is back over the grab point.
        QTest::mouseRelease(w->windowHandle(), Qt::RightButton, {}, c.At);
        EXPECT_EQ(WaitFor([&] { return w->PopupMenu()->isVisible(); },
                          std::chrono::milliseconds(c.Menu ? 5000 : 200)),
                  c.Menu)
            << c.At.x();
        EXPECT_EQ(w->pos(), start + c.Move);
        w->PopupMenu()->hide();
    }
    EXPECT_EQ(Display(), QStringLiteral("7_"));
}

TEST_F(Window, PopupMenuItemsInOrder) {
    QStringList items;
    for (QAction* a : w->PopupMenu()->actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(items.join(QLatin1Char('|')),
              QStringLiteral("Sound|Show On Desktop|Stay On Top|-|Copy|Paste|-|About|-|Close"));
    EXPECT_TRUE(MenuItem("Copy1")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Insert)));
    EXPECT_TRUE(MenuItem("Paste1")->shortcuts().contains(QKeySequence(Qt::SHIFT | Qt::Key_Insert)));
}

TEST_F(Window, BadgeAndMenuItemOpenTheAboutBox) {
    Click("imAbout");
    EXPECT_EQ(aboutOpens, 1);
    EXPECT_FALSE(Spot("imAbout")->IsPressed()) << "the badge has no pressed look";
    MenuItem("About1")->trigger();
    EXPECT_EQ(aboutOpens, 2);
    QTest::qWait(20);
    EXPECT_EQ(plays.load(), 0) << "the badge makes no sound";
}

TEST_F(Window, TooltipsOnlyWhereTheKeyTableHasThem) {
    EXPECT_EQ(Spot("imClose")->toolTip(), QStringLiteral("Close Pellix"));
    EXPECT_EQ(Spot("imStackUp")->toolTip(), QStringLiteral("DEL"));
    EXPECT_EQ(Spot("imSin")->toolTip(), QStringLiteral("u"));
    for (const char* name :
         {"im0", "im7", "imPt", "imAdd", "imSub", "imMul", "imDiv", "imSum", "imF", "imChs"}) {
        EXPECT_TRUE(Spot(name)->toolTip().isEmpty()) << name;
    }
}

TEST_F(Window, KeysAndDisplayAreExposedToAssistiveTechnology) {
    EXPECT_EQ(Spot("im7")->accessibleName(), QStringLiteral("7"));
    EXPECT_EQ(Spot("imExg")->accessibleName(), QStringLiteral("exchange x and y"));
    EXPECT_EQ(Spot("imStackUp")->accessibleName(), QStringLiteral("roll down"));
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(w->Label("lbDisplay"));
    ASSERT_NE(display, nullptr);
    ClickKeys({"im4", "im2"});
    EXPECT_EQ(Display(), QStringLiteral("42_"));
    EXPECT_EQ(display->text(QAccessible::Name), QStringLiteral("42")) << "no cursor read out";
    EXPECT_EQ(display->textInterface()->text(0, -1), QStringLiteral("42"));
    EXPECT_EQ(display->text(QAccessible::Description),
              QStringLiteral("Display, a number is being keyed"));
    ClickKeys({"imEnter"});
    EXPECT_EQ(display->text(QAccessible::Name), QStringLiteral("42.000000000"));
    EXPECT_EQ(display->text(QAccessible::Description), QStringLiteral("Display"));
    ASSERT_NE(display->textInterface(), nullptr);
    EXPECT_EQ(display->textInterface()->text(0, 2), QStringLiteral("42"));
    const QRect digit = display->textInterface()->characterRect(1);
    EXPECT_TRUE(display->rect().contains(digit)) << "the second character lies in the display";
    EXPECT_EQ(display->textInterface()->offsetAtPoint(digit.center()), 1);

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Pellix"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Pellix Emulator (http://www.pellix.example/)"));
}

// Assistive technology's view of a control.
QAccessibleInterface* Access(QObject* control) {
    return QAccessible::queryAccessibleInterface(control);
}

void PressAction(THotSpot* spot) {
    Access(spot)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

TEST_F(Window, EveryHotSpotIsAPushButtonWithTheOneActionPress) {
    const QList<THotSpot*> spots = w->findChildren<THotSpot*>();
    EXPECT_EQ(spots.size(), 36) << "the 35 pictured keys that work and the About badge";
    QSet<QString> names;
    for (THotSpot* spot : spots) {
        QAccessibleInterface* a = Access(spot);
        EXPECT_EQ(a->role(), QAccessible::Button) << spot->objectName().toStdString();
        EXPECT_EQ(a->actionInterface()->actionNames(),
                  QStringList{QAccessibleActionInterface::pressAction()});
        names.insert(a->text(QAccessible::Name));
    }
    EXPECT_EQ(names.size(), spots.size()) << "every button has a name of its own";
    EXPECT_FALSE(names.contains(QString()));
}

struct BindingCase {
    const char* Control;
    const char* Binding;
    const char* Description;
};

class HotSpotBinding : public Window, public ::testing::WithParamInterface<BindingCase> {};

TEST_P(HotSpotBinding, TheTypedKeyIsTheBindingNotTheDescription) {
    QAccessibleInterface* a = Access(Spot(GetParam().Control));
    const QString binding = QString::fromUtf8(GetParam().Binding);
    const QStringList bindings = binding.isEmpty() ? QStringList() : QStringList{binding};
    EXPECT_EQ(a->actionInterface()
                  ->keyBindingsForAction(QAccessibleActionInterface::pressAction())
                  .join(u';'),
              binding.isEmpty() ? QString() : QStringLiteral(";;") + binding)
        << "mnemonic, path and accelerator as the accessibility bus reads them";
    EXPECT_EQ(a->text(QAccessible::Accelerator), binding);
    EXPECT_EQ(a->text(QAccessible::Description), QString::fromUtf8(GetParam().Description));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HotSpotBinding,
    ::testing::Values(BindingCase{"imSqrt", "w", "g: x squared"},
                      BindingCase{"imChs", "c", "g: absolute value"},
                      BindingCase{"imClose", "q", "Close Pellix"}, BindingCase{"imG", "g", ""},
                      BindingCase{"im3", "3", "f: to radians, g: to degrees"},
                      BindingCase{"imDiv", "/", ""}, BindingCase{"imPt", ".", ""},
                      BindingCase{"imBack", "Backspace", ""},
                      BindingCase{"imEnter", "Return", "f: random number, g: last x"},
                      BindingCase{"imStackUp", "", "DEL, g: roll up"}, BindingCase{"imSum", "", ""},
                      BindingCase{"imAbout", "", ""}));

// What a screen reader is given to speak once the keys are done.
TEST_F(Window, AnnouncesTheNewDisplayAndAnnunciatorsInWords) {
    for (const auto& [keys, said] : std::vector<std::pair<std::vector<const char*>, QString>>{
             {{"im1", "im2"}, "12"},
             {{"im1", "imEnter", "im0", "imDiv"}, "Divide by 0"},
             {{"imF"}, "f"},
             {{"imF", "imF"}, "f off"},
             {{"imG", "im8"}, "RAD"},
             {{"im4", "imG", "imSqrt"}, "16.000000000"}}) {
        w = Create();
        for (const char* key : keys) {
            Click(key);
        }
        QWidget* announcer = w->Label("lbDisplay")->findChild<QWidget*>("lbAnnounce");
        ASSERT_NE(announcer, nullptr);
        EXPECT_EQ(Access(announcer)->role(), QAccessible::Notification);
        QTRY_COMPARE(announcer->accessibleName(), said);
    }
}

// The keyboard focus as a screen-reader user moves it: Tab walks the face in
// rows, typed keys keep their meaning, Escape returns; only a focused key is marked.
TEST_F(Window, KeyboardFocusWalksTheFaceAndTypedKeysKeepTheirMeaning) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    const auto focused = [] { return QApplication::focusWidget()->objectName(); };
    const auto type = [](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    };
    EXPECT_EQ(focused(), QStringLiteral("lbDisplay"));
    const QImage plain = w->grab().toImage();
    QStringList face, walked;
    for (const FaceKey& k : FaceKeys) {
        face << QString::fromLatin1(k.Control.data(), qsizetype(k.Control.size()));
    }
    std::set<std::pair<int, int>> rows; // accessible top and bottom of the keys
    for (int top = INT_MIN; walked.size() < face.size();) {
        type(Qt::Key_Tab);
        walked << focused();
        const QRect r = Access(QApplication::focusWidget())->rect();
        EXPECT_GE(r.top(), top) << walked.last().toStdString();
        top = r.top();
        rows.insert({r.top(), r.bottom()});
    }
    EXPECT_EQ(walked, face);
    EXPECT_EQ(rows.size(), 4U) << "the keys of a row, ENTER too, line up";
    type(Qt::Key_Tab); // the About badge
    type(Qt::Key_Tab); // the display
    type(Qt::Key_Tab);
    const QImage marked = w->grab().toImage();
    for (Qt::Key key : {Qt::Key_5, Qt::Key_Space, Qt::Key_Return, Qt::Key_3, Qt::Key_Plus}) {
        type(key);
    }
    EXPECT_EQ(Display(), QStringLiteral("-2.000000000")) << "blank is CHS, Return is ENTER";
    EXPECT_EQ(focused(), QStringLiteral("imSqrt"));
    const QRect changed = ChangedArea(plain, marked);
    const QRect spot = Spot("imSqrt")->geometry();
    EXPECT_TRUE(!changed.isEmpty() && spot.contains(changed)) << "the focused key is marked";
    type(Qt::Key_Escape);
    EXPECT_EQ(focused(), QStringLiteral("lbDisplay"));
    EXPECT_EQ(w->grab().toImage().copy(spot), plain.copy(spot)) << "and the mark is gone";
    Click("im5");
    EXPECT_EQ(focused(), QStringLiteral("lbDisplay")) << "a click takes no focus";
}

// What a sequence of presses leaves on the face, to compare the action with the mouse.
struct FaceState {
    QString Display, F, G, Trig;

    bool operator==(const FaceState&) const = default;
    friend void PrintTo(const FaceState& f, std::ostream* os) {
        *os << (f.Display + u' ' + f.F + f.G + u' ' + f.Trig).toStdString();
    }
};

class PressActionAsClick : public Window,
                           public ::testing::WithParamInterface<std::vector<std::string>> {
protected:
    FaceState Face() {
        return {Display(), w->Label("lbF")->text(), w->Label("lbG")->text(),
                w->Label("lbTrig")->text()};
    }
};

TEST_P(PressActionAsClick, QuickPressesKeyInOrderWithThePressedLook) {
    for (const std::string& key : GetParam()) {
        PressAction(Spot(key.c_str()));
        EXPECT_TRUE(Spot(key.c_str())->IsPressed()) << key << " looks pressed at once";
        EXPECT_TRUE(Access(Spot(key.c_str()))->state().pressed) << key;
    }
    const auto released = [this] {
        const QList<THotSpot*> spots = w->findChildren<THotSpot*>();
        return std::none_of(spots.begin(), spots.end(), [](THotSpot* s) { return s->IsPressed(); });
    };
    ASSERT_TRUE(QTest::qWaitFor(released, 2000));
    const FaceState pressed = Face();

    w = Create(); // the same start: nothing was stored
    for (const std::string& key : GetParam()) {
        Click(key.c_str());
    }
    EXPECT_EQ(pressed, Face());
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PressActionAsClick,
    ::testing::Values(std::vector<std::string>{"im3", "imEnter", "im4", "imAdd"},
                      std::vector<std::string>{"im3", "im3", "imPt", "im4"},
                      std::vector<std::string>{"imF", "imF"},
                      std::vector<std::string>{"imF", "imG"},
                      std::vector<std::string>{"imG", "im8", "imSqrt"},
                      std::vector<std::string>{"imSTO", "im2", "imRCL", "im2"}),
    [](const ::testing::TestParamInfo<std::vector<std::string>>& row) {
        std::string name;
        for (const std::string& key : row.param) {
            name += key;
        }
        return name;
    });

TEST_F(Window, PressActionAddsThreeAndFourWithAClickEach) {
    for (const char* key : {"im3", "imEnter", "im4", "imAdd"}) {
        PressAction(Spot(key));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Spot(key)->IsPressed(); }, 2000));
    }
    EXPECT_EQ(Display(), QStringLiteral("7.000000000"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return plays.load() == 4; }, 2000));
}

TEST_F(Window, PressActionOnTheBadgeOpensTheAboutBoxAndOnOnStoresAndCloses) {
    PressAction(Spot("imAbout"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return aboutOpens == 1; }, 2000));
    EXPECT_EQ(plays.load(), 0) << "the badge makes no sound";
    ClickKeys({"im4", "im2", "imEnter"});
    PressAction(Spot("imClose"));
    EXPECT_TRUE(w->isVisible()) << "closes when released, as a click does";
    EXPECT_TRUE(QTest::qWaitFor([this] { return !w->isVisible(); }, 2000));
    EXPECT_TRUE(IniText().contains(QStringLiteral("Zun.Stack[0]=42")));
}

TEST_F(Window, LongestNumberFitsTheDisplayAtEveryZoom) {
    if (!QFontDatabase::isSmoothlyScalable(QFontInfo(w->Label("lbDisplay")->font()).family()))
        GTEST_SKIP() << "no scalable font for the display here";
    for (int step = 0; step < 4; ++step) {
        w->Zun.Stack[0] = -999999999999.0;
        w->Entry.RefreshDisplay();
        TFaceLabel* display = w->Label("lbDisplay");
        ASSERT_EQ(display->text(), QStringLiteral("-999,999,999,999.000000000"));
        EXPECT_LE(QFontMetrics(display->font()).horizontalAdvance(display->text()),
                  display->width())
            << "zoom step " << step;
        w->Zun.Stack[0] = 1;
        w->Entry.RefreshDisplay();
        EXPECT_EQ(display->font().pixelSize(), RoundEven(display->FontPoints() * 96.0 / 72.0))
            << "short numbers keep the full size";
        Wheel(-120);
    }
}

TEST_F(Window, LoadedSwitchesShowInTheMenuAndTheWindowBand) {
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "the design's band";
    RestartWith("[ZunMain]\nSound=0\nStayOnTop=0\nlastShowAbout=1\n");
    EXPECT_FALSE(MenuItem("mnSound")->isChecked());
    EXPECT_FALSE(MenuItem("mnStayOnTop")->isChecked());
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(Window, UnreachableStoredWindowFallsBackToTheDesign) {
    RestartWith("[ZunMain]\nLeft=-90000\nTop=-90000\nTotalScale=1E300\nlastShowAbout=1\n");
    EXPECT_EQ(w->TotalScale(), 1.0);
    EXPECT_EQ(w->ClientSize(), QSize(641, 404));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w->y(), screen.top() + 196);
    EXPECT_EQ(w->x(), std::min(screen.left() + 427, screen.right() + 1 - 641)) << "shown whole";
}

} // namespace
