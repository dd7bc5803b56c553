#pragma once
// Our own publishing service, which every new project form starts with.

namespace velmcore {

inline const char* const kPublishHost = "ftp.publish.velm.example";
inline const char* const kPublishLogin = "projects@publish.velm.example";
inline const char* const kPublishPassword = "quarz86420975tunnel";
inline const int kPublishPort = 21;
inline const char* const kPublicUrlBase = "https://publish.velm.example/apps/";
// The service's public site, behind the ribbon's link label.
inline const char* const kPublicSite = "https://publish.velm.example/";

}  // namespace velmcore
