// The Chinese edition: every window and message a user meets under the Chinese base shows no
// English word beyond units, standards, acronyms and names.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "FrameTestSupport.h"
#include "app/ProjectFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/Prompt.h"
#include "desktop/frame/CMainFrame.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

// Words a Chinese text may hold: units, standards, acronyms, the meter's and the program's
// names, shortcut keys.
const QSet<QString>& AllowedWords() {
    static const QSet<QString> words = {
        "dBuV",     "dBmV",   "dBm",   "dB",      "MHz",     "KHz",      "kHz",  "Hz",
        "MS",       "kS",     "MER",   "BER",     "PRE-BER", "POST-BER", "DVB",  "DVB-C",
        "DVB-T",    "DVB-T2", "QAM",   "QPSK",    "COFDM",   "EIA",      "CH",   "SR",
        "PAL",      "NTSC",   "SECAM", "DIGI",    "ANA",     "TV",       "FM",   "QM7100",
        "Workdesk", "COM",    "OK",    "CSV",     "PNG",     "BMP",      "PDF",  "HTML",
        "UTC",      "LPF",    "ID",    "MAX",     "EN",      "OLE",      "Ctrl", "Alt",
        "Shift",    "Home",   "End",   "dialout", "sudo",    "usermod",  "aG",   "USER"};
    return words;
}

// Texts the program shows the same in both languages: the two window titles, the looks, the
// shutdown choices and the spectrum pane's power heading.
const QSet<QString>& AllowedTexts() {
    static const QSet<QString> texts = {"Time/Unit Setting",
                                        "Picture Capture",
                                        "Office 2007 (Blue)(&B)",
                                        "Office 2007 (Black)(&L)",
                                        "Office 2007 (Silver)(&S)",
                                        "Office 2007 (Green)(&A)",
                                        "Windows 7(&D)",
                                        "3 min",
                                        "5 min",
                                        "10 min",
                                        "30 min",
                                        "Always ON",
                                        "Vedio/Power",
                                        "Video/Power 0"};
    return texts;
}

// The Latin words of a text that are not on the list; file names, paths, numbers and single
// letters (keys, slots, Y/N) pass.
QStringList Foreign(const QString& text) {
    static const QRegularExpression word(QStringLiteral(R"([A-Za-z][A-Za-z0-9\-./\\_~:]*)"));
    QStringList found;
    if (AllowedTexts().contains(text))
        return found;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        QString w = it.next().captured();
        while (w.endsWith('.') || w.endsWith(':') || w.endsWith('/'))
            w.chop(1);
        const bool nameLike =
            w.contains('.') || w.contains('/') || w.contains('\\') || w.contains('_') ||
            w.contains(QRegularExpression(QStringLiteral("\\d"))) || w.size() == 1;
        if (!nameLike && !AllowedWords().contains(w))
            found << w;
    }
    return found;
}

// Every text a person can see in a window: titles, labels, buttons, group titles, combo
// items, tooltips, tab titles, menu entries, and the headings and cells of every table.
QStringList VisibleTexts(QWidget* root) {
    QStringList texts{root->windowTitle()};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets << root;
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(root) && w != root)
            continue;
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        for (QAction* a : w->actions())
            texts << a->text() << a->toolTip();
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
            const QAbstractItemModel* m = view->model();
            for (int c = 0; c < m->columnCount(); ++c)
                texts << m->headerData(c, Qt::Horizontal).toString();
            for (int r = 0; r < m->rowCount(); ++r)
                for (int c = 0; c < m->columnCount(); ++c)
                    texts << m->index(r, c).data().toString()
                          << m->index(r, c).data(Qt::ToolTipRole).toString();
        }
    }
    return texts;
}

void ExpectChinese(QWidget* window, const char* what) {
    for (const QString& text : VisibleTexts(window))
        EXPECT_TRUE(Foreign(text).isEmpty()) << what << ": \"" << text.toStdString() << "\" holds "
                                             << Foreign(text).join(' ').toStdString();
}

class ChineseEdition : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = LanguageBase();
        SetLanguageBase(kLanguageChinese);
    }
    void TearDown() override { SetLanguageBase(m_saved); }
    int m_saved = kLanguageEnglish;
};

TEST_F(ChineseEdition, TheCheckTellsEnglishWordsFromUnitsAndNames) {
    struct Case {
        const char* text;
        QStringList foreign;
    };
    const Case cases[] = {
        {"电平 54.3 dBuV，MER 32.1 dB", {}},
        {"打开 sample.f71 失败：/dev/ttyUSB0", {}},
        {"Copy", {"Copy"}},
        {"频道 absent", {"absent"}},
        {"“DVB-C SR”应在 2.000 MS/s 到 7.000 MS/s 之间！", {}},
        {"error: 失败", {"error"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Foreign(QString::fromUtf8(c.text)), c.foreign) << c.text;
}

// The main window with its ribbon, the file tree, each of the six panes and every dialog the
// ribbon opens; then the messages of the common failures.
TEST_F(ChineseEdition, EveryWindowAndPaneShowsChineseOnly) {
    test::TempDir dir;
    SetSettingsPath(dir.File("setup.ini"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.File("user")));
    test::FakePrompt prompt;
    ScopedPrompt scope(prompt);
    const ProjectLoad load = LoadProject(test::SourcePath("samples/sample.f71"));
    ASSERT_EQ(load.status, ProjectStatus::Ok);
    CLevantoApp::Instance().Files().Assign(load.elements);
    CMainFrame::Options options;
    options.chineseRibbon = true;
    CMainFrame frame(options);
    frame.resize(1280, 900);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.RebuildFileTree();
    ExpectChinese(&frame, "main window");

    for (int value : {500, 600, 700, 800, 900, 1000}) {
        QTreeWidgetItem* file = frame.Tree()->topLevelItem(0);
        for (int i = 0; file && i < file->childCount(); ++i)
            if (file->child(i)->data(0, Qt::UserRole).toInt() == value)
                frame.OpenTreeItem(file->child(i));
        if (frame.Pane() == nullptr)
            frame.OpenAnalysisPane(value);
        ASSERT_NE(frame.Pane(), nullptr) << value;
        ExpectChinese(&frame, ("pane " + std::to_string(value)).c_str());
    }

    // Each modal dialog is looked at once it is up, then closed.
    std::vector<std::string> seen;
    const auto look = [&](const std::function<void()>& open) {
        test::WhenModal([&](QWidget* modal) {
            ASSERT_NE(modal, nullptr);
            seen.push_back(modal->metaObject()->className());
            ExpectChinese(modal, modal->metaObject()->className());
            static_cast<QDialog*>(modal)->reject();
        });
        open();
    };
    look([&] { frame.ShowConnectDialog(); });
    look([&] { frame.OpenChannelEditorCommand(); });
    look([&] { frame.OpenTimeUnitCommand(); });
    look([&] { frame.OpenPictureCaptureCommand(); });
    look([&] { frame.ShowAbout(true); });
    EXPECT_EQ(seen, (std::vector<std::string>{"qm::CDlgSetCom", "qm::CDlgEditChannel",
                                              "qm::CDlgNormalSet", "qm::CDlgPictureCap",
                                              "qm::CDlgHelpAbout"}));
    // The compare window stays beside the main window.
    frame.findChild<QAction*>("compareCommand")->trigger();
    QWidget* compare = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("qm::CCompareDialog") && w->isVisible())
            compare = w;
    ASSERT_NE(compare, nullptr);
    ExpectChinese(compare, "compare");
    compare->close();

    // The failures: a project that is not one, the meter that does not answer.
    prompt.messages.clear();
    test::WriteFile(dir.File("bad.f71"), "not a project");
    frame.OpenProjectFile(dir.File("missing.f71"));
    frame.OpenProjectFile(dir.File("bad.f71"));
    EXPECT_GE(prompt.messages.size(), 2u);
    for (const IPrompt::Message& m : prompt.messages)
        for (const QString& text : {m.caption, m.text, m.detail})
            EXPECT_TRUE(Foreign(text).isEmpty()) << text.toStdString();
    CLevantoApp::Instance().Files().Clear();
}

} // namespace
} // namespace qm
