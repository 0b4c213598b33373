// Every project and channel-plan file the fuzzers keep, opened through the windows' own Open
// buttons: nothing crashes, and each file gets the report its damage calls for.
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "app/ProjectFile.h"
#include "base/BinaryFile.h"
#include "channels/ChannelPlanFile.h"
#include "desktop/DesktopTexts.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/frame/CRibbonBar.h"
#include "desktop/frame/RibbonTexts.h"
#include "measurement/SampleGenerator.h"
#include "operations/OperationOutcome.h"

namespace qm {
namespace {

struct CorpusFile {
    std::string input; // target/input name, for the failure report
    bool plan = false; // a channel-plan file, else a project file
    std::string bytes;
    bool openPanes = false; // open every section of the files it holds
};

std::vector<std::filesystem::path> Inputs(const char* target) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::SourcePath("fuzz/corpus/") + target))
        inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

// The files as the fuzz targets read them. The project and plan target takes the first byte
// as the choice of reader (odd: plan) and ends a plan input in its cell edits, ten bytes each,
// their count in the last byte. The pane target's inputs begin with one element, which a
// one-element project carries here (their panes are the pane target's own work, and opening
// them all would take half a minute).
std::vector<CorpusFile> Corpus() {
    std::vector<CorpusFile> files;
    for (const auto& path : Inputs("fuzz_plan_files")) {
        std::string data = test::ReadFile(path.string());
        if (data.empty())
            continue;
        CorpusFile file{"fuzz_plan_files/" + path.filename().string(), (data[0] & 1) != 0,
                        data.substr(1), (data[0] & 1) == 0};
        if (file.plan && !file.bytes.empty()) {
            std::size_t size = file.bytes.size() - 1;
            for (std::size_t edits = static_cast<std::uint8_t>(file.bytes.back()) % 16;
                 edits > 0 && size >= 10; --edits)
                size -= 10;
            file.bytes.resize(size);
        }
        files.push_back(std::move(file));
    }
    for (const auto& path : Inputs("fuzz_panes")) {
        std::string element = test::ReadFile(path.string()).substr(0, kElementSize);
        element.resize(kElementSize, '\0');
        std::string header(8, '\0');
        PutLE32(reinterpret_cast<std::uint8_t*>(header.data()), 1);
        PutLE32(reinterpret_cast<std::uint8_t*>(header.data()) + 4, kProjectVersion);
        files.push_back({"fuzz_panes/" + path.filename().string(), false, header + element});
    }
    return files;
}

class HostileFiles : public ::testing::Test, public test::FrameFixture {
protected:
    HostileFiles() : FrameFixture(Panes::Real) {}

    QToolButton* OpenButton() const {
        for (QToolButton* button : frame->Ribbon()->Buttons())
            if (button->defaultAction() == frame->CommandAction(RibbonTexts::Open))
                return button;
        return nullptr;
    }
    QStringList TreeTexts() const {
        QStringList texts;
        for (int i = 0; i < frame->Tree()->topLevelItemCount(); ++i)
            texts << frame->Tree()->topLevelItem(i)->text(0);
        return texts;
    }
    // Opens every section of every file shown, by Enter on its tree item.
    void OpenEverySection() const {
        CFileTreeView* tree = frame->Tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            for (int c = 0; c < tree->topLevelItem(i)->childCount(); ++c) {
                QTreeWidgetItem* section = tree->topLevelItem(i)->child(c);
                tree->setCurrentItem(section);
                QTest::keyClick(tree, Qt::Key_Return);
                EXPECT_NE(frame->PaneDialog(), nullptr) << section->text(0).toStdString();
            }
    }
};

TEST_F(HostileFiles, EveryCorpusFileOpensWithTheReportItsDamageCallsFor) {
    const std::vector<CorpusFile> files = Corpus();
    QToolButton* open = OpenButton();
    ASSERT_NE(open, nullptr);
    CDlgEditChannel editor;
    editor.show();
    QPushButton* openPlan = editor.Button(CDlgEditChannel::kOpen);
    const std::vector<_tagFileDataExt> loaded = MakeSampleSet(2, 2);
    std::vector<CommonChannel> shown(3);
    const std::string shownPlan = dir.File("shown.f71CH");
    ASSERT_EQ(SaveChannelPlanFile(shownPlan, 1, shown), PlanFileStatus::Ok);
    const std::string path = dir.File("hostile");
    int damaged = 0, refused = 0;
    for (const CorpusFile& file : files) {
        SCOPED_TRACE(file.input);
        test::WriteFile(path, file.bytes);
        prompt.messages.clear();
        if (!file.plan) {
            CLevantoApp::Instance().Files().Assign(loaded);
            frame->RebuildFileTree();
            const QStringList before = TreeTexts();
            prompt.openNames << QString::fromStdString(path);
            QTest::mouseClick(open, Qt::LeftButton);
            const ProjectLoad load = LoadProject(path);
            if (load.status != ProjectStatus::Ok) {
                // An unreadable file says so and keeps what was loaded.
                ++refused;
                ASSERT_EQ(prompt.messages.size(), 1u);
                EXPECT_EQ(prompt.messages[0].kind, MessageKind::Error);
                EXPECT_EQ(prompt.messages[0].text.toStdString(),
                          ProjectStatusText(load.status, path));
                EXPECT_EQ(TreeTexts(), before);
                EXPECT_EQ(CLevantoApp::Instance().Files().Count(), loaded.size());
                continue;
            }
            const QStringList tree = TreeTexts();
            ASSERT_EQ(static_cast<std::size_t>(tree.size()), load.elements.size());
            if (!load.Damaged()) {
                EXPECT_TRUE(prompt.messages.empty());
                if (file.openPanes)
                    OpenEverySection();
                continue;
            }
            // A damaged project names the files the tree marks incomplete, and how many of the
            // announced ones are missing.
            ++damaged;
            QStringList incomplete;
            const QString mark = QStringLiteral(" (incomplete)");
            for (int i = 0; i < tree.size(); ++i)
                if (tree[i].endsWith(mark) && CLevantoApp::Instance().Files().IsIncomplete(i))
                    incomplete << QStringLiteral("%1  %2").arg(i).arg(tree[i].chopped(mark.size()));
            EXPECT_EQ(static_cast<std::size_t>(incomplete.size()), load.IncompleteCount());
            ASSERT_EQ(prompt.messages.size(), 1u);
            const QString text = prompt.messages[0].text;
            if (incomplete.isEmpty())
                EXPECT_EQ(text, "The project file is cut short.");
            else
                EXPECT_EQ(text, "The project file is cut short. It is shown as far as it goes; "
                                "these measurement files are incomplete:\n" +
                                    incomplete.join('\n'));
            EXPECT_EQ(prompt.messages[0].detail.isEmpty(), load.MissingCount() == 0);
            if (file.openPanes)
                OpenEverySection();
            continue;
        }
        editor.OpenFile(shownPlan);
        prompt.openNames << QString::fromStdString(path);
        QTest::mouseClick(openPlan, Qt::LeftButton);
        const PlanFileLoad load = LoadChannelPlanFile(path);
        if (load.status != PlanFileStatus::Ok) {
            // Refused: said so, and the plan shown stays.
            ++refused;
            ASSERT_EQ(prompt.messages.size(), 1u);
            EXPECT_EQ(prompt.messages[0].text, Text(txt::kFileNotCreated));
            EXPECT_EQ(prompt.messages[0].detail.toStdString(),
                      PlanFileStatusText(load.status, path));
            EXPECT_EQ(editor.Grid()->rowCount(), 3);
            continue;
        }
        EXPECT_EQ(static_cast<std::size_t>(editor.Grid()->rowCount()), load.records.size());
        EXPECT_EQ(editor.ShownKind(), load.kind);
        const std::size_t zeroFilled = load.records.size() - load.complete;
        if (zeroFilled == 0) {
            EXPECT_TRUE(prompt.messages.empty());
            continue;
        }
        ++damaged;
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text,
                  QStringLiteral("The channel-plan file is cut short: %1 of its %2 channels were "
                                 "filled with zeros.")
                      .arg(zeroFilled)
                      .arg(load.records.size()));
    }
    // The corpus holds every kind of damage.
    EXPECT_GT(damaged, 10);
    EXPECT_GT(refused, 10);
}

} // namespace
} // namespace qm
