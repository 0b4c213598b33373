#include "desktop/frame/RibbonTexts.h"

#include "res/StringTable.h"

namespace qm {

bool RibbonIsChinese(const QLocale& systemLocale) {
    return systemLocale.language() == QLocale::Chinese &&
           systemLocale.territory() == QLocale::China;
}

RibbonTexts MakeRibbonTexts(bool chinese) {
    // The ribbon's language follows the system's, not the language base.
    const int base = chinese ? kLanguageChinese : kLanguageEnglish;
    auto text = [base](int id) { return QString::fromStdString(Tr(id, base)); };
    RibbonTexts t;
    t.category = text(txt::kRibbonCategory);
    t.panels = {text(txt::kRibbonFilePanel), text(txt::kRibbonConnectPanel),
                text(txt::kRibbonOperationPanel), text(txt::kRibbonSetPanel),
                text(txt::kRibbonHelpPanel)};
    t.labels = {text(txt::kRibbonUpload),        text(txt::kRibbonOpen),
                text(txt::kRibbonSave),          text(txt::kRibbonConnect),
                text(txt::kRibbonChannelEditor), text(txt::kRibbonPictureCapture),
                text(txt::kRibbonTimeUnit),      text(txt::kRibbonAbout)};
    t.exit = text(txt::kRibbonExit);
    t.style = text(txt::kRibbonStyle);
    t.appAbout = text(txt::kRibbonAppAbout);
    return t;
}

} // namespace qm
