#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "limits/LimitProfile.h"

namespace qm {

// The limit profile the panes judge by, process-wide; none at start, so that every pane and
// chart looks exactly as without limits until the user picks one.
class LimitProfiles : public QObject {
    Q_OBJECT
public:
    static LimitProfiles& Instance();

    // nullptr when no profile is active.
    const LimitProfile* Active() const { return m_active ? &*m_active : nullptr; }
    // The profile a report uses: the active one, else the shipped default.
    const LimitProfile& ForReport() const { return m_active ? *m_active : DefaultProfile(); }

    void SetActive(std::optional<LimitProfile> profile);

signals:
    // The profile changed: everything that shows verdicts judges again.
    void Changed();

private:
    std::optional<LimitProfile> m_active;
};

// Texts of the limit panel and marks in the current language.
QString LimitUiText(const char* english);

} // namespace qm
