#pragma once

#include <QString>
#include <vector>

#include "archive/Archive.h"
#include "measurement/FileDataExt.h"

class QWidget;

namespace qm {

class CMainFrame;
class CRibbonBar;

// The desktop's archive: the settings' Archive, else the per-user default file.
std::string DesktopArchiveLocation();

// "Keep every upload in the archive", a per-user choice (on unless turned off).
bool KeepsUploads();
void SetKeepsUploads(bool keep);

// After an upload: adds the files to the archive on a worker, when the user keeps uploads. A
// failure is told in a message; the upload itself stays as it is.
void KeepUploadInArchive(QWidget* window, const std::vector<_tagFileDataExt>& files);

// The ribbon's Archive panel: the Archive window and the keep-uploads choice.
void AddArchivePanel(CRibbonBar& ribbon, CMainFrame* frame);

// A failed archive operation in words of the current language: the status and its reason.
QString ArchiveFailureText(const ArchiveResult& result);

} // namespace qm
