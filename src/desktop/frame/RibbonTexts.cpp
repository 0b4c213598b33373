#include "desktop/frame/RibbonTexts.h"

namespace qm {

bool RibbonIsChinese(const QLocale& systemLocale) {
    return systemLocale.language() == QLocale::Chinese &&
           systemLocale.territory() == QLocale::China;
}

RibbonTexts MakeRibbonTexts(bool chinese) {
    RibbonTexts t;
    if (chinese) {
        t.category = QStringLiteral("主目录");
        t.panels = {QStringLiteral("文件"), QStringLiteral("连接设置"),
                    QStringLiteral("频道表/截图"), QStringLiteral("设置"), QStringLiteral("帮助")};
        t.labels = {QStringLiteral("上传文件"),   QStringLiteral("打开"),
                    QStringLiteral("保存"),       QStringLiteral("连接"),
                    QStringLiteral("频道表编辑"), QStringLiteral("截图"),
                    QStringLiteral("时间/单位"),  QStringLiteral("关于")};
        t.exit = QStringLiteral("退出(&X)");
        t.style = QStringLiteral("样式(&S)");
        t.appAbout = QStringLiteral("关于(&A)");
    } else {
        t.category = QStringLiteral("Main");
        t.panels = {QStringLiteral("File"), QStringLiteral("Connect setting"),
                    QStringLiteral("Operation"), QStringLiteral("Set"), QStringLiteral("Help")};
        t.labels = {QStringLiteral("Upload"),         QStringLiteral("Open"),
                    QStringLiteral("Save"),           QStringLiteral("Connect"),
                    QStringLiteral("Channel Editor"), QStringLiteral("Picture Capture"),
                    QStringLiteral("Time/Unit"),      QStringLiteral("About")};
        t.exit = QStringLiteral("Exit(&X)");
        t.style = QStringLiteral("Style(&S)");
        t.appAbout = QStringLiteral("About(&A)");
    }
    return t;
}

} // namespace qm
