// The maker's addresses. The host comes from the build (THORNWICKVALE_SITE_HOST).
#pragma once

#ifndef TW_SITE_HOST
#define TW_SITE_HOST "thornwickvale-patch.example"
#endif

namespace installer {

inline constexpr const char* SiteHost = TW_SITE_HOST;
inline constexpr const char* ChannelPage = "https://video.example/channel/thornwickvale-patch";
inline constexpr const char* ProfilePage = "https://social.example/u/thornwickvale-patch";
inline constexpr const char* HomePage = "https://" TW_SITE_HOST "/";

}  // namespace installer
