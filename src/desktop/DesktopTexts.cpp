#include "desktop/DesktopTexts.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>

#include "res/StringTable.h"

namespace qm {

QString Text(int englishId) {
    return QString::fromStdString(Tr(englishId));
}

void PaintDialogBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, DialogBackground());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QString UploadProgressText(int position, int range, int secondsLeft) {
    if (range <= 0)
        return {};
    const int file = std::clamp(position + 1, 1, range);
    QString text = Text(txt::kUploadFileOf).arg(file).arg(range);
    if (secondsLeft < 0 || position >= range)
        return text;
    const int hours = secondsLeft / 3600;
    const int minutes = secondsLeft / 60 % 60;
    const QString seconds = QStringLiteral("%1").arg(secondsLeft % 60, 2, 10, QLatin1Char('0'));
    const QString duration = hours > 0 ? QStringLiteral("%1:%2:%3")
                                             .arg(hours)
                                             .arg(minutes, 2, 10, QLatin1Char('0'))
                                             .arg(seconds)
                                       : QStringLiteral("%1:%2").arg(minutes).arg(seconds);
    const std::string left = TrFill(txt::kTimeLeft, {duration.toStdString()});
    return text + QStringLiteral(" \u2014 ") + QString::fromStdString(left);
}

} // namespace qm
