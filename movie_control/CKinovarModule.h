// The control module's one server object: its classes (MovieCtl, VidProp), its type
// library and interfaces for registration, and the count of its live objects.
#pragma once

#include <atl/ServerModule.h>

class CKinovarModule {
 public:
  static plat::atl::ServerModule& Server();
};
