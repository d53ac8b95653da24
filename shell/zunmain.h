#pragma once

#include "beepthread.h"
#include "engine/zuncalc.h"
#include "hotspot.h"
#include "keypad/entry.h"
#include "seam/aboutseam.h"
#include "seam/translator.h"
#include "settings.h"
#include "settingshost.h"

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace pellix {

class TSettingChangeFilter;

// Where the window meets the user's real files and devices. The program fills
// it with the real places; tests with temporary folders and a fake player.
struct TShellEnvironment {
    TSettingsFiles SettingsFile;          // the settings file (CFGFileName)
    QString DesktopFolder;                // where the desktop shortcut lies
    QString ExecutablePath;               // what the shortcut starts
    std::unique_ptr<IClickPlayer> Player; // null: the platform's player
    std::optional<Separators> Regional;   // null: the system locale's
    TAboutFactory AboutFactory;           // null: no About box
    ITranslator* Texts = nullptr;         // not owned; null: the built-in texts
};

// The main window: a borderless picture of the calculator with hot spots over
// its keys, the display and annunciator labels, and one popup menu.
class TZunMain : public QWidget, public ISettingsHost {
    Q_OBJECT
public:
    explicit TZunMain(TShellEnvironment env, QWidget* parent = nullptr);
    ~TZunMain() override;

    // The calculator and its entry state.
    TZunCalc Zun;
    TZunEntry Entry;

    // One key press through a hot spot; its faults end in the display.
    void KeyClick(THotSpot* sender);
    // The application's last-resort fault handler (main installs it): the
    // message (or "Invalid Data") becomes the display.
    void AppException(std::string_view message);

    void imMouseDown(THotSpot* sender);
    void imMouseUp(THotSpot* sender, int x);
    void imCloseClick();
    // Stores the settings at the end of the run, once however many ways the
    // end is reported (the close key, the window's close, the application
    // quitting); a window shown again may end and store again.
    void StoreOnEnd();
    void StoreOnSettingChange();
    void lbFClick(QObject* sender);

    void mnSoundClick();
    void mnShowOnDesktopClick();
    void mnStayOnTopClick();
    void Copy1Click();
    void Paste1Click();
    void ShowAbout();

    void FormMouseWheelDown();
    void FormMouseWheelUp();
    void FormDeactivate();

    // ISettingsHost
    TWindowSettings WindowSettings() const override;
    void SetWindowSettings(const TWindowSettings& values) override;

    bool IsSound() const { return FStored.Sound; }
    void SetSound(bool on);
    bool StayOnTop() const { return FStored.StayOnTop; }
    void SetStayOnTop(bool on);
    double TotalScale() const { return FStored.TotalScale; }

    double Scale() const { return FScale; }
    QSize ClientSize() const { return FClientSize; }
    QMenu* PopupMenu() const { return PopupMenu1; }
    THotSpot* HotSpot(const char* control) const;
    TFaceLabel* Label(const char* control) const;
    TSettings& Settings() { return *FSettings; }

    static constexpr double ScaleFactor = 1.1;
    static constexpr double MinTotalScale = 0.3;

signals:
    // Once, after the first paint has reached the screen: what the first
    // display need not wait for starts here.
    void FirstPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void CreateControls();
    // The menu's captions and the face's accessible names in the current
    // language, from their built-in texts.
    void Translate();
    void CreateMenu();
    void Zoom(double factor);
    void ScaleControl(QWidget* control);
    void SetClientSize(QSize size);
    void ApplyWindowBand();
    void MendRestoredWindow();
    QRect PressedArea(const THotSpot* spot) const;
    int PressedShift() const;
    void ShowLabels();
    void ShowPressed(THotSpot* spot, bool pressed);
    void AfterFirstPaint();

    TShellEnvironment FEnv;
    std::unique_ptr<TBeepThread> Beep;
    std::unique_ptr<TSettings> FSettings;
    std::unique_ptr<TSettingChangeFilter> FSettingChange;

    IAboutBox* FAbout = nullptr;      // a child of the window
    std::vector<THotSpot*> FHotSpots; // the key hot spots and imAbout
    std::vector<TFaceLabel*> FLabels; // lbDisplay, lbF, lbG, lbTrig
    TFaceLabel* lbDisplay = nullptr;
    TFaceLabel* lbF = nullptr;
    TFaceLabel* lbG = nullptr;
    TFaceLabel* lbTrig = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* mnSound = nullptr;
    QAction* mnShowOnDesktop = nullptr;
    QAction* mnStayOnTop = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Close1 = nullptr;

    QPoint MousePos{-1, -1};
    // The window's values in the settings file; Left and Top are the position
    // read from it, which the window takes once checked against the screens.
    TWindowSettings FStored;
    double FScale = 1.0;
    QSize FClientSize;
    int FWheelDelta = 0;
    bool FEndStored = false;
    bool FPainted = false; // the first paint has been done

    QPixmap FFace; // the face at the current client size and pixel ratio
};

// Days since 30 December 1899, the fraction being the time of day.
double CurrentDateTimeValue();

} // namespace pellix
