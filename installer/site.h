// The maker's addresses. The host is linked in from installer/site/, so that
// one build can make installers that talk to different hosts.
#pragma once

#include <string>

namespace installer {

// Host of the maker's web site, optionally with ":port".
extern const char* const SiteHost;

inline constexpr const char* ChannelPage = "https://video.example/channel/thornwickvale-patch";
inline constexpr const char* ProfilePage = "https://social.example/u/thornwickvale-patch";
inline std::string HomePage() { return std::string("https://") + SiteHost + "/"; }

}  // namespace installer
