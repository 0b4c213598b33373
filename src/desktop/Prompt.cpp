#include "desktop/Prompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "desktop/DesktopTexts.h"
#include "res/StringTable.h"

namespace qm {

namespace {

class QtPrompt : public IPrompt {
public:
    void ShowMessage(QWidget* parent, const Message& message) override {
        QMessageBox box(parent);
        box.setWindowTitle(message.caption);
        box.setText(message.text);
        if (!message.detail.isEmpty())
            box.setInformativeText(message.detail);
        box.setIcon(message.kind == MessageKind::Error ? QMessageBox::Critical
                                                       : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(Text(txt::kOk));
        box.exec();
    }

    Answer Ask(QWidget* parent, const QString& caption, const QString& text,
               bool withCancel) override {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setIcon(QMessageBox::Question);
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
        if (withCancel)
            buttons |= QMessageBox::Cancel;
        box.setStandardButtons(buttons);
        // The program's own words, whether or not Qt's translation is installed.
        box.button(QMessageBox::Yes)->setText(Text(txt::kYes));
        box.button(QMessageBox::No)->setText(Text(txt::kAnswerNo));
        if (withCancel)
            box.button(QMessageBox::Cancel)->setText(Text(txt::kCancel));
        switch (static_cast<QMessageBox::StandardButton>(box.exec())) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }

    Answer AskWith(QWidget* parent, const QString& caption, const QString& text,
                   const QStringList& buttons) override {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setIcon(QMessageBox::Question);
        const QMessageBox::ButtonRole roles[] = {
            QMessageBox::AcceptRole, QMessageBox::DestructiveRole, QMessageBox::RejectRole};
        QList<QAbstractButton*> made;
        for (int i = 0; i < std::min<int>(static_cast<int>(buttons.size()), 3); ++i)
            made << box.addButton(buttons[i], roles[i]);
        if (!made.isEmpty())
            box.setDefaultButton(static_cast<QPushButton*>(made.front()));
        if (made.size() > 2)
            box.setEscapeButton(made[2]);
        box.exec();
        const int chosen = static_cast<int>(made.indexOf(box.clickedButton()));
        return chosen == 0 ? Answer::Yes : chosen == 1 ? Answer::No : Answer::Cancel;
    }

    std::optional<QString> OpenFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix) override {
        QFileDialog dialog(parent, QString(), QString(), QtFileFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    }

    std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix) override {
        QFileDialog dialog(parent, QString(), QString(), QtFileFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    }

    void Beep() override { QApplication::beep(); }
};

IPrompt*& CurrentPrompt() {
    static QtPrompt real;
    static IPrompt* current = &real;
    return current;
}

} // namespace

IPrompt& Prompt() {
    return *CurrentPrompt();
}

ScopedPrompt::ScopedPrompt(IPrompt& prompt) : m_previous(CurrentPrompt()) {
    CurrentPrompt() = &prompt;
}

ScopedPrompt::~ScopedPrompt() {
    CurrentPrompt() = m_previous;
}

QString QtFileFilter(const QString& filter) {
    QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    if (parts.size() % 2 == 1)
        filters << parts.back();
    return filters.join(QStringLiteral(";;"));
}

QString MessageCaption(MessageKind kind) {
    return kind == MessageKind::Plain ? QStringLiteral("QM7100")
                                      : QString::fromStdString(ProgramTitle());
}

bool MayDropUnsaved(QWidget* parent, const QString& caption, const QString& text,
                    const std::function<bool()>& save) {
    switch (Prompt().AskWith(parent, caption, text,
                             {Text(txt::kSave), Text(txt::kDiscard), Text(txt::kCancel)})) {
    case IPrompt::Answer::Yes:
        return save();
    case IPrompt::Answer::No:
        return true;
    case IPrompt::Answer::Cancel:
        break;
    }
    return false;
}

void ShowUserMessage(QWidget* parent, const UserMessage& message, const QString& detail) {
    Prompt().ShowMessage(parent,
                         {MessageCaption(message.kind), Text(message.id), detail, message.kind});
}

void ShowOutcome(QWidget* parent, const OperationOutcome& outcome) {
    const QString detail = QString::fromStdString(outcome.detail);
    for (std::size_t i = 0; i < outcome.messages.size(); ++i)
        ShowUserMessage(parent, outcome.messages[i],
                        i + 1 == outcome.messages.size() ? detail : QString());
}

} // namespace qm
