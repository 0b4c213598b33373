#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "app/ProjectFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/panes/CChartPaneDialog.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

constexpr PaneSection kSections[] = {PaneSection::Tilt, PaneSection::Spectrum, PaneSection::Level,
                                     PaneSection::Scan, PaneSection::Limit,    PaneSection::Hum};
constexpr PaneSection kChartSections[] = {PaneSection::Tilt, PaneSection::Spectrum,
                                          PaneSection::Scan, PaneSection::Limit};

class FakeChartPicture : public IChartPicture {
public:
    QImage picture;
    QImage VisibleChartPicture() const override { return picture; }
};

// Texts of a table widget in the core's shape: titles, then the rows.
std::vector<std::vector<std::string>> Shown(const QTableWidget& table) {
    std::vector<std::vector<std::string>> texts(1);
    for (int c = 0; c < table.columnCount(); ++c)
        texts[0].push_back(table.horizontalHeaderItem(c)->text().toStdString());
    for (int r = 0; r < table.rowCount(); ++r) {
        texts.emplace_back();
        for (int c = 0; c < table.columnCount(); ++c)
            texts.back().push_back(table.item(r, c)->text().toStdString());
    }
    return texts;
}

std::vector<std::vector<std::string>> Expected(const PaneTable& table) {
    std::vector<std::vector<std::string>> texts{table.ColumnTitles()};
    texts.insert(texts.end(), table.rows.begin(), table.rows.end());
    return texts;
}

// The sample project loaded into the program's files; a fresh dialog for each case.
class PaneDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const ProjectLoad load = LoadProject(test::SourcePath("samples/sample.f71"));
        ASSERT_EQ(load.status, ProjectStatus::Ok);
        ASSERT_EQ(load.elements.size(), 3u);
        CLevantoApp::Instance().Files().Assign(load.elements);
        CLevantoApp::Instance().SetChartPicture(&m_picture);
    }
    void TearDown() override {
        CLevantoApp::Instance().Files().Clear();
        CLevantoApp::Instance().SetChartPicture(nullptr);
    }

    std::unique_ptr<CAnalysisDialog> Open(PaneSection section, long index) {
        auto dialog = CreateAnalysisDialog(section);
        dialog->resize(1000, 260);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->ShowFile(index);
        return dialog;
    }
    std::unique_ptr<AnalysisPane> Core(PaneSection section, long index) {
        auto pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
        pane->ShowFile(CLevantoApp::Instance().Files().Elements()[static_cast<size_t>(index)]);
        return pane;
    }
    static void Click(QWidget& dialog, const char* name) {
        auto* button = dialog.findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    FakeChartPicture m_picture;
    test::FakePrompt m_prompt;
    ScopedPrompt m_scope{m_prompt};
    test::TempDir m_dir;
};

TEST_F(PaneDialog, EveryDialogShowsTheCoresTablesForEveryMeterKind) {
    for (PaneSection section : kSections)
        for (long index = 0; index < 3; ++index) {
            SCOPED_TRACE(testing::Message() << int(section) << " file " << index);
            auto dialog = Open(section, index);
            EXPECT_EQ(dialog->Section(), section);
            const auto core = Core(section, index);
            for (const PaneTable& table : core->Tables()) {
                auto* view = dialog->findChild<QTableWidget*>(QString::fromStdString(table.tag));
                ASSERT_NE(view, nullptr) << table.tag;
                EXPECT_FALSE(table.rows.empty()) << table.tag;
                EXPECT_EQ(Shown(*view), Expected(table)) << table.tag;
                EXPECT_TRUE(view->showGrid());
                EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
                if (!table.title.empty()) {
                    auto* group =
                        dialog->findChild<QGroupBox*>(QString::fromStdString(table.tag + "Group"));
                    ASSERT_NE(group, nullptr);
                    EXPECT_EQ(group->title().toStdString(), table.title);
                }
            }
            if (!core->HasChart()) {
                EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameBox")->text().toStdString(),
                          core->FileNameText());
            }
        }
}

TEST_F(PaneDialog, MarkerMoveRefillsOnlyTheMarkTable) {
    for (PaneSection section : kChartSections) {
        SCOPED_TRACE(int(section));
        auto dialog = Open(section, 1);
        auto core = Core(section, 1);
        auto* list = dialog->findChild<QTableWidget*>("List");
        const auto listBefore = Shown(*list);
        for (long position : {2L, 0L, 100000L}) {
            dialog->MarkerMoved(position);
            core->MarkerMoved(position);
            EXPECT_EQ(Shown(*dialog->findChild<QTableWidget*>("Mark")),
                      Expected(*core->Table("Mark")))
                << position;
        }
        EXPECT_EQ(Shown(*list), listBefore);
    }
}

TEST_F(PaneDialog, PrintSavesThePictureInGraphicModeAndTheCsvInFileMode) {
    m_picture.picture = QImage(37, 21, QImage::Format_RGB32);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 37; ++x)
            m_picture.picture.setPixel(x, y, qRgb(x * 6, y * 12, 200));
    auto dialog = Open(PaneSection::Spectrum, 2);
    const QString bmp = QString::fromStdString(m_dir.File("chart.bmp"));
    const QString csv = QString::fromStdString(m_dir.File("spectrum.csv"));
    m_prompt.saveNames = {bmp, csv};

    Click(*dialog, "printButton");
    QImage saved;
    ASSERT_TRUE(
        saved.loadFromData(QByteArray::fromStdString(test::ReadFile(bmp.toStdString())), "BMP"));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), m_picture.picture);

    Click(*dialog, "fileButton");
    EXPECT_EQ(static_cast<CChartPaneDialog&>(*dialog).SaveMode(), 1);
    Click(*dialog, "printButton");
    EXPECT_EQ(test::ReadFile(csv.toStdString()), Core(PaneSection::Spectrum, 2)->ExportCsv());
    EXPECT_EQ(m_prompt.filters, QStringList({"*.bmp|*.bmp||", "*.csv|*.csv||"}));
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(PaneDialog, ExportEqualsTheCommandLineExportAndLevelAndHumHaveNoPrintChoice) {
    for (auto [section, name] :
         {std::pair{PaneSection::Level, "level"}, {PaneSection::Hum, "hum"}}) {
        auto dialog = Open(section, 0);
        EXPECT_EQ(dialog->findChild<QAbstractButton*>("printButton"), nullptr);
        EXPECT_EQ(dialog->findChild<QAbstractButton*>("graphicButton"), nullptr);
        EXPECT_EQ(dialog->findChild<QAbstractButton*>("fileButton"), nullptr);
        const std::string ours = m_dir.File(std::string(name) + ".csv");
        const std::string cli = m_dir.File(std::string(name) + "-cli.csv");
        m_prompt.saveNames = {QString::fromStdString(ours)};
        Click(*dialog, "exportButton");
        const auto run =
            test::RunProcess(test::BinPath("qm7100"),
                             {"export", test::SourcePath("samples/sample.f71"), "0", name, cli});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(test::ReadFile(ours), test::ReadFile(cli));
        EXPECT_FALSE(test::ReadFile(ours).empty());
    }
}

TEST_F(PaneDialog, CancelOrAnEmptyPictureWritesNothingAndAFailedWriteIsReported) {
    auto dialog = Open(PaneSection::Tilt, 0);
    m_prompt.saveNames = {QString::fromStdString(m_dir.File("empty.bmp"))};
    Click(*dialog, "printButton"); // the chart view shows nothing: said, and no name asked
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].text, "No chart is shown, so there is no picture to save.");
    EXPECT_TRUE(m_prompt.filters.isEmpty());
    m_prompt.messages.clear();
    m_picture.picture = QImage(20, 10, QImage::Format_RGB32);
    m_prompt.saveNames = {""};
    Click(*dialog, "printButton"); // cancelled
    Click(*dialog, "fileButton");
    m_prompt.saveNames = {""};
    Click(*dialog, "printButton");
    auto level = Open(PaneSection::Level, 0);
    m_prompt.saveNames = {""};
    Click(*level, "exportButton");
    EXPECT_EQ(m_prompt.filters.size(), 3);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));
    EXPECT_TRUE(m_prompt.messages.empty());

    const QString unwritable = QString::fromStdString(m_dir.File("missing/tilt.csv"));
    m_prompt.saveNames = {unwritable};
    Click(*dialog, "printButton");
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].text, "The file could not be written.");
    EXPECT_EQ(m_prompt.messages[0].detail, unwritable + ": No such file or directory");
    EXPECT_EQ(m_prompt.messages[0].caption, "QM7100 Workdesk");
}

TEST_F(PaneDialog, EveryNewPaneStartsInGraphicModeAndAnUnknownIndexShowsNothing) {
    auto first = Open(PaneSection::Limit, 0);
    Click(*first, "fileButton");
    EXPECT_EQ(static_cast<CChartPaneDialog&>(*first).SaveMode(), 1);
    auto second = Open(PaneSection::Limit, 0);
    EXPECT_EQ(static_cast<CChartPaneDialog&>(*second).SaveMode(), 0);
    EXPECT_TRUE(second->findChild<QRadioButton*>("graphicButton")->isChecked());

    auto none = Open(PaneSection::Scan, 3);
    EXPECT_EQ(none->findChild<QTableWidget*>("List")->rowCount(), 0);
    EXPECT_EQ(none->findChild<QTableWidget*>("Parameters")->rowCount(), 0);
}

TEST_F(PaneDialog, GroupsKeepTheirGapsWhenTheDialogGrows) {
    auto chart = Open(PaneSection::Tilt, 0);
    auto level = Open(PaneSection::Level, 0);
    const auto geometry = [](QWidget& dialog, const char* name) {
        return dialog.findChild<QWidget*>(name)->geometry();
    };
    const QRect print = geometry(*chart, "printGroup");
    const QRect parameters = geometry(*chart, "ParametersGroup");
    const QRect mark = geometry(*chart, "MarkGroup");
    const QRect box = geometry(*level, "fileNameBox");
    const QRect exportButton = geometry(*level, "exportButton");
    for (QWidget* dialog : {chart.get(), level.get()}) {
        dialog->resize(1400, 420);
        QApplication::processEvents();
    }
    EXPECT_EQ(geometry(*chart, "printGroup"), print);
    for (auto [name, before] : {std::pair{"ParametersGroup", parameters}, {"MarkGroup", mark}}) {
        const QRect now = geometry(*chart, name);
        EXPECT_EQ(now.topLeft(), before.topLeft()) << name;
        EXPECT_EQ(now.width(), before.width()) << name;
        EXPECT_EQ(420 - now.bottom() - 1, 7) << name;
    }
    const QRect list = geometry(*chart, "ListGroup");
    EXPECT_EQ(list.left() - mark.right() - 1, 7);
    EXPECT_EQ(1400 - list.right() - 1, 7);
    EXPECT_EQ(420 - list.bottom() - 1, 7);

    // Shares of the width follow the table as it grows.
    auto* listTable = chart->findChild<QTableWidget*>("List");
    EXPECT_EQ(listTable->columnWidth(4), listTable->viewport()->width() / 5);
    auto* levelTable = level->findChild<QTableWidget*>("Table");
    EXPECT_EQ(levelTable->columnWidth(0), levelTable->viewport()->width() / 8);

    EXPECT_EQ(geometry(*level, "fileNameBox"), box);
    EXPECT_EQ(geometry(*level, "exportButton"), exportButton);
    const QRect table = geometry(*level, "Table");
    EXPECT_EQ(table.left(), box.left());
    EXPECT_EQ(1400 - table.right() - 1, 7);
    EXPECT_EQ(420 - table.bottom() - 1, 7);
}

} // namespace
} // namespace qm
