#include "desktop/limits/LimitProfiles.h"

#include <QFile>

#include "desktop/UserStore.h"
#include "limits/LimitTexts.h"
#include "res/StringTable.h"

namespace qm {

LimitProfiles& LimitProfiles::Instance() {
    static LimitProfiles instance;
    return instance;
}

namespace {
constexpr const char* kProfileKey = "LimitProfile";
} // namespace

void LimitProfiles::SetActive(std::optional<LimitProfile> profile, QString source) {
    m_active = std::move(profile);
    m_source = m_active ? std::move(source) : QString();
    emit Changed();
}

void RememberLimitProfile() {
    QSettings store = UserStore();
    store.setValue(kProfileKey, LimitProfiles::Instance().Source());
    store.sync();
}

void RestoreLimitProfile() {
    const QString source = UserStore().value(kProfileKey).toString();
    if (source.isEmpty())
        return;
    if (source == QLatin1String(kShippedSource)) {
        LimitProfiles::Instance().SetActive(DefaultProfile(), source);
        return;
    }
    ProfileResult r = LoadLimitProfile(QFile::encodeName(source).toStdString());
    if (r.profile)
        LimitProfiles::Instance().SetActive(std::move(*r.profile), source);
    else
        RememberLimitProfile(); // none active: the file is forgotten
}

} // namespace qm
