#include "desktop/channels/ChannelIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#ifdef QM_HAVE_SVG
#include <QSvgRenderer>
#endif

namespace qm {

namespace {

// 24 x 24 pictures: a meter with an arrow leaving it (Upload: the plan comes to the PC) or
// entering it (Download), an opened folder and a floppy disk.
const char* const kUpload = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">
<rect x="2.5" y="9.5" width="11" height="12" rx="1.5" fill="#dfe8f5" stroke="#2f5597"/>
<rect x="4.5" y="11.5" width="7" height="4" fill="#7fb2e5" stroke="#2f5597" stroke-width="0.8"/>
<circle cx="6" cy="18.5" r="1" fill="#2f5597"/><circle cx="10" cy="18.5" r="1" fill="#2f5597"/>
<path d="M18 21V6" stroke="#2e8b3a" stroke-width="2.4" fill="none"/>
<path d="M13.5 8.5L18 3l4.5 5.5z" fill="#2e8b3a"/></svg>)";

const char* const kDownload = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">
<rect x="2.5" y="9.5" width="11" height="12" rx="1.5" fill="#dfe8f5" stroke="#2f5597"/>
<rect x="4.5" y="11.5" width="7" height="4" fill="#7fb2e5" stroke="#2f5597" stroke-width="0.8"/>
<circle cx="6" cy="18.5" r="1" fill="#2f5597"/><circle cx="10" cy="18.5" r="1" fill="#2f5597"/>
<path d="M18 3v13" stroke="#c0504d" stroke-width="2.4" fill="none"/>
<path d="M13.5 14L18 19.5l4.5-5.5z" fill="#c0504d"/></svg>)";

const char* const kOpen = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">
<path d="M2.5 5.5h7l2 2h9v3H2.5z" fill="#e8b84a" stroke="#9a6b12"/>
<path d="M2.5 20.5l3-10h17l-3 10z" fill="#f6d36b" stroke="#9a6b12"/></svg>)";

const char* const kSave = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">
<path d="M3.5 3.5h14l3 3v14h-17z" fill="#4a78c2" stroke="#1f3f74"/>
<rect x="7" y="3.5" width="9" height="6" fill="#e9eef7" stroke="#1f3f74" stroke-width="0.8"/>
<rect x="13" y="4.5" width="2" height="4" fill="#1f3f74"/>
<rect x="6" y="13" width="12" height="7.5" fill="#ffffff" stroke="#1f3f74" stroke-width="0.8"/>
<path d="M8 15.5h8M8 18h8" stroke="#9aa9c4" stroke-width="0.8"/></svg>)";

#ifdef QM_HAVE_SVG
QPixmap Render(const char* svg, int size) {
    QSvgRenderer renderer{QByteArray(svg)};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}
#endif

} // namespace

QIcon MakeChannelIcon(ChannelIcon which) {
#ifndef QM_HAVE_SVG
    // A Qt without SVG: the style's own pictures of the four commands.
    const QStyle::StandardPixmap standard = which == ChannelIcon::Upload     ? QStyle::SP_ArrowUp
                                            : which == ChannelIcon::Download ? QStyle::SP_ArrowDown
                                            : which == ChannelIcon::Open
                                                ? QStyle::SP_DialogOpenButton
                                                : QStyle::SP_DialogSaveButton;
    return QApplication::style()->standardIcon(standard);
#else
    const char* svg = which == ChannelIcon::Upload     ? kUpload
                      : which == ChannelIcon::Download ? kDownload
                      : which == ChannelIcon::Open     ? kOpen
                                                       : kSave;
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(Render(svg, size));
    return icon;
#endif
}

} // namespace qm
