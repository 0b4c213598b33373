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

    // source says where the profile came from, for the next start: kShippedSource for the
    // shipped one, else the file's path; empty with no profile or one not to remember.
    void SetActive(std::optional<LimitProfile> profile, QString source = {});
    const QString& Source() const { return m_source; }

signals:
    // The profile changed: everything that shows verdicts judges again.
    void Changed();

private:
    std::optional<LimitProfile> m_active;
    QString m_source;
};

// The source of the shipped profile.
inline constexpr const char* kShippedSource = ":shipped";

// Keeps the active profile's source in the per-user store, so that the next start judges by
// the same profile.
void RememberLimitProfile();
// At start: makes the remembered profile active. A remembered file that is gone or no longer
// a valid profile leaves none active (and is forgotten), as when nothing was remembered.
void RestoreLimitProfile();

} // namespace qm
