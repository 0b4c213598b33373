#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "base/UserMessage.h"
#include "operations/OperationOutcome.h"

class QWidget;

namespace qm {

// Every message box and file dialog of the desktop program goes through the current prompt,
// so that tests can answer them without a person.
class IPrompt {
public:
    virtual ~IPrompt() = default;

    struct Message {
        QString caption;
        QString text;
        QString detail; // a second, smaller text under the message; may be empty
        MessageKind kind = MessageKind::Error;
    };
    virtual void ShowMessage(QWidget* parent, const Message& message) = 0;

    enum class Answer { Yes, No, Cancel };
    virtual Answer Ask(QWidget* parent, const QString& caption, const QString& text,
                       bool withCancel) = 0;
    // The same with buttons of its own, for Yes, No and (when given) Cancel, such as
    // Save / Discard / Cancel.
    virtual Answer AskWith(QWidget* parent, const QString& caption, const QString& text,
                           const QStringList& buttons) {
        return Ask(parent, caption, text, buttons.size() > 2);
    }

    // File dialogs take the filter in the form "*.f71|*.f71||" and a default suffix without
    // the dot; nullopt when the user cancels.
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& filter,
                                                const QString& defaultSuffix) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                                const QString& defaultSuffix) = 0;

    // The system beep (refused characters in the grid's text box).
    virtual void Beep() = 0;
};

// The prompt in use: real dialogs unless a test replaced it.
IPrompt& Prompt();

// Replaces the prompt while it lives (tests).
class ScopedPrompt {
public:
    explicit ScopedPrompt(IPrompt& prompt);
    ~ScopedPrompt();
    ScopedPrompt(const ScopedPrompt&) = delete;
    ScopedPrompt& operator=(const ScopedPrompt&) = delete;

private:
    IPrompt* m_previous;
};

// "*.f71|*.f71||" as a Qt file-dialog filter ("*.f71 (*.f71)").
QString QtFileFilter(const QString& filter);

// Caption of a message of this kind: the program title, or "QM7100" for plain boxes.
QString MessageCaption(MessageKind kind);

// Before work not saved would go: asks Save / Discard / Cancel. Save runs `save`, which says
// whether the work is safe now (a cancelled or failed save keeps it). True to go on.
bool MayDropUnsaved(QWidget* parent, const QString& caption, const QString& text,
                    const std::function<bool()>& save);

// Shows one of the core's messages in the current language, with an optional detail line.
void ShowUserMessage(QWidget* parent, const UserMessage& message, const QString& detail = {});
// Shows an operation's messages in order; the outcome's detail goes under the last one.
void ShowOutcome(QWidget* parent, const OperationOutcome& outcome);

} // namespace qm
