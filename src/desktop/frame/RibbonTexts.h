#pragma once

#include <QLocale>
#include <QString>
#include <array>

namespace qm {

// The ribbon's own texts. They come in an English and a Chinese (PRC) version chosen by the
// system's user-interface language, independently of the language base of the other texts.
struct RibbonTexts {
    enum Command {
        Upload,
        Open,
        Save,
        Connect,
        ChannelEditor,
        PictureCapture,
        TimeUnit,
        About,
        CommandCount
    };
    enum Panel { FilePanel, ConnectPanel, OperationPanel, SetPanel, HelpPanel, PanelCount };

    QString category;
    std::array<QString, PanelCount> panels;
    std::array<QString, CommandCount> labels;
    QString exit;
    QString style;
    QString appAbout;
};

// Chinese for the PRC, English otherwise.
bool RibbonIsChinese(const QLocale& systemLocale);
RibbonTexts MakeRibbonTexts(bool chinese);

} // namespace qm
