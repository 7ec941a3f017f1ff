// The animation player's module: its class object and its registration.
#include <vendor/swflash/AnimationPlayer.h>

#include <atl/ServerModule.h>
#include <com/TypeLibrary.h>

namespace {

// The player's type library, named only so the module registers as a control server.
DEFINE_GUID(LIBID_AnimationPlayer, 0x6A2F8C12, 0x3B7D, 0x4E52, 0x9A, 0x41, 0x0C, 0x5E, 0x77, 0x18, 0xB2, 0x03);

const plat::atl::ClassEntry kClasses[] = {
    {&CLSID_AnimationPlayer, &plat::AnimationPlayer::CreateInstance, "Animation Player", "AnimationPlayer.1"},
};
const plat::atl::InterfaceEntry kInterfaces[] = {
    {&IID_IAnimationPlayer, "IAnimationPlayer"},
};
const plat::LibraryDescription kLibrary{&LIBID_AnimationPlayer, "AnimationPlayerLib", "Animation player", 1, 0, {}};

}  // namespace

namespace plat {

atl::ServerModule& AnimationPlayerServer() {
  static atl::ServerModule server(kClasses, kInterfaces, kLibrary, &kClasses);
  return server;
}

}  // namespace plat

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  return plat::AnimationPlayerServer().getClassObject(rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow() { return plat::AnimationPlayerServer().canUnloadNow(); }

STDAPI DllRegisterServer() { return plat::AnimationPlayerServer().registerServer(); }

STDAPI DllUnregisterServer() { return plat::AnimationPlayerServer().unregisterServer(); }
