#pragma once

#include <QString>

namespace qm {

// The five looks of the main window (command ids of the Style menu).
inline constexpr int kLookOffice2007Blue = 215;
inline constexpr int kLookOffice2007Black = 216;
inline constexpr int kLookOffice2007Silver = 217;
inline constexpr int kLookOffice2007Aqua = 218;
inline constexpr int kLookWindows7 = 219;
inline constexpr int kDefaultLook = kLookOffice2007Black;

// Style menu label of a look, with its mnemonic ("Office 2007 (Blue)(&B)").
QString LookLabel(int look);
bool IsLook(int look);

// "ApplicationLook" of the per-user store (never setup.ini); the default when missing or not
// a look.
int StoredLook();
void StoreLook(int look);

// Gives the whole application the look: style, palette and style sheet.
void ApplyLook(int look);

} // namespace qm
