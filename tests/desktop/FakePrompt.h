#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "desktop/Prompt.h"

namespace qm::test {

// Answers the program's dialogs from scripted answers and records what was shown.
class FakePrompt : public IPrompt {
public:
    std::vector<Message> messages;
    QStringList questions;
    std::deque<Answer> answers; // Cancel when none is left
    // Names the file dialogs answer, in order; an empty name, or none left, is a cancel.
    QStringList openNames;
    QStringList saveNames;
    QStringList filters; // every file dialog's filter, in order
    int beeps = 0;

    void ShowMessage(QWidget*, const Message& message) override { messages.push_back(message); }
    Answer Ask(QWidget*, const QString&, const QString& text, bool) override {
        questions << text;
        return Take(answers, Answer::Cancel);
    }
    std::optional<QString> OpenFileName(QWidget*, const QString& filter, const QString&) override {
        filters << filter;
        return TakeName(openNames);
    }
    std::optional<QString> SaveFileName(QWidget*, const QString& filter, const QString&) override {
        filters << filter;
        return TakeName(saveNames);
    }
    void Beep() override { ++beeps; }

    QStringList Texts() const {
        QStringList texts;
        for (const Message& m : messages)
            texts << m.text;
        return texts;
    }

private:
    static std::optional<QString> TakeName(QStringList& names) {
        if (names.isEmpty() || names.front().isEmpty()) {
            if (!names.isEmpty())
                names.pop_front();
            return std::nullopt;
        }
        return names.takeFirst();
    }
    template <class T> static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace qm::test
