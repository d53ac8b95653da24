#pragma once

// Which of Qt's display platforms the program runs on, chosen before the
// application object exists. What each platform chooses is said in its source.

namespace pellix {

// Where the user chose no display platform and the default one would keep the
// window from being placed or kept above others (the stored position,
// stay-on-top and dragging would not work), asks Qt for one that can. Call
// before the application is created. Returns whether it chose.
bool ChooseDisplayPlatform();

// Call once the application exists: the choice leaves the environment, so
// programs started from here (a browser for a link) choose their own.
void ForgetDisplayPlatformChoice();

} // namespace pellix
