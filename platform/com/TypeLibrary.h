// Type libraries: what a server says of its interfaces and classes, read by automation
// clients through ITypeLib and ITypeInfo. A server module describes its library once, as
// static data, and adds it when the module loads (TypeLibraries::add); LoadRegTypeLib
// finds a library by its LIBID through HKCR\TypeLib\{libid}\<major>.<minor>\0\win32,
// loading the module named there when its library is not known yet.
//
// The descriptions must outlive every ITypeLib and ITypeInfo handed out for them (static
// data of a module that stays loaded).
#pragma once

#include <com/oaidl.h>

#include <vector>

namespace plat {

struct MemberDescription {
  DISPID dispid;
  const char* name;
  INVOKEKIND kind;
  std::vector<const char*> params;
};

struct ImplementedType {
  const GUID* iid;
  int flags;  // IMPLTYPEFLAG_*
};

struct TypeDescription {
  const GUID* guid;
  TYPEKIND kind;
  const char* name;
  const char* doc;
  std::vector<MemberDescription> members;  // interfaces and dispinterfaces
  std::vector<ImplementedType> implemented;  // coclasses
};

struct LibraryDescription {
  const GUID* libid;
  const char* name;
  const char* doc;
  WORD major;
  WORD minor;
  std::vector<TypeDescription> types;
};

class TypeLibraries {
 public:
  static void add(const LibraryDescription& library);
  // The library's ITypeLib; TYPE_E_LIBNOTREGISTERED when it is not known.
  static HRESULT find(REFGUID libid, ITypeLib** out);
  // The type info of one type of a known library.
  static HRESULT typeInfo(const LibraryDescription& library, REFGUID guid, ITypeInfo** out);
};

}  // namespace plat
