#include "desktop/limits/LimitProfiles.h"

#include "limits/LimitTexts.h"
#include "res/StringTable.h"

namespace qm {

LimitProfiles& LimitProfiles::Instance() {
    static LimitProfiles instance;
    return instance;
}

void LimitProfiles::SetActive(std::optional<LimitProfile> profile) {
    m_active = std::move(profile);
    emit Changed();
}

QString LimitUiText(const char* english) {
    return QString::fromStdString(LimitText(english, LanguageBase()));
}

} // namespace qm
