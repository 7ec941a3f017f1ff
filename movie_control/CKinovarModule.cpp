#include "CKinovarModule.h"

#include "CMovieCtl.h"
#include "CVidProp.h"

namespace {

const plat::atl::ClassEntry kClasses[] = {
    {&CLSID_MovieCtl, &CMovieCtl::CreateInstance, "Kinovar Class", "Kinovar.MovieCtl.1"},
    {&CLSID_VidProp, &CVidProp::CreateInstance, "VidProp Class", "ATLMovie.VidProp.1"},
};

const plat::atl::InterfaceEntry kInterfaces[] = {
    {&IID_IMovieCtl, "IMovieCtl"},
    {&DIID__IMovieCtlEvents, "_IMovieCtlEvents"},
};

}  // namespace

plat::atl::ServerModule& CKinovarModule::Server() {
  static plat::atl::ServerModule server(kClasses, kInterfaces, CMovieCtl::typeLibrary(), &kClasses);
  return server;
}
