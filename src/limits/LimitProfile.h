#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Limits of one signal class. Levels in dBuV, MER in dB, BER as a ratio; a value equal to a
// limit passes.
struct ChannelLimits {
    double levelMin = 0, levelMax = 0;
    double videoAudioMin = 0, videoAudioMax = 0; // analogue TV only
    double merMin = 0;                           // digital only
    double berMax = 0;                           // digital only
};

// DVB-C modulation orders a profile can name; 2 stands for QPSK, 0 for COFDM.
inline constexpr int kOrderCofdm = 0;
inline constexpr int kOrderQpsk = 2;

// A set of limits to judge a measurement file by.
struct LimitProfile {
    std::string name;
    std::string chineseName; // NameZh, shown under the Chinese base; may be empty
    // The name to show in the language: the Chinese one where the profile gives it.
    const std::string& ShownName(int languageBase) const;
    ChannelLimits tv;
    std::map<int, ChannelLimits> cable; // by QAM order: 2 (QPSK), 16 ... 256, 0 (COFDM)
    ChannelLimits terrestrial, terrestrial2;
    double tiltMax = 0;     // dB
    double adjacentMax = 0; // dB
    double humMax = 0;      // percent
};

struct ProfileResult {
    std::optional<LimitProfile> profile;
    std::string error; // set when profile is empty: names the line (or the missing section)
};

// Reads a profile from its text. Every entry must be there and well-formed: an unknown
// section or key, a malformed number, a repeated key, a minimum above its maximum or a missing
// entry is an error; nothing falls back to the default.
ProfileResult ParseLimitProfile(std::string_view text);
// Reads a profile file; an unreadable file is an error naming the path.
ProfileResult LoadLimitProfile(const std::string& path);

// The shipped default profile: its text and its parsed form.
std::string_view DefaultProfileText();
const LimitProfile& DefaultProfile();

// Folder of the user's own profiles: UserConfigDirectory()/profiles.
std::string UserProfileDirectory();
// The *.ini files in the user's profile folder, sorted by name; paths.
std::vector<std::string> UserProfilePaths();

} // namespace qm
