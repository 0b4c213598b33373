#pragma once

class QWidget;

namespace qm {

// The ribbon's "Time/Unit": shows CDlgNormalSet modally.
void OpenTimeUnitDialog(QWidget* parent);
// The ribbon's "Picture Capture": shows CDlgPictureCap modally.
void OpenPictureCapture(QWidget* parent);

} // namespace qm
