// TW_SITE_HOST comes from the build (THORNWICKVALE_SITE_HOST).
#include "installer/site.h"

namespace installer {

const char* const SiteHost = TW_SITE_HOST;

}  // namespace installer
