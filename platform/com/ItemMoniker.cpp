#include <com/ItemMoniker.h>

namespace plat {

ItemMoniker::ItemMoniker(std::wstring delimiter, std::wstring item)
    : m_delimiter(std::move(delimiter)), m_item(std::move(item)) {}

IMoniker* ItemMoniker::create(std::wstring delimiter, std::wstring item) {
  return new ItemMoniker(std::move(delimiter), std::move(item));
}

HRESULT ItemMoniker::classId(CLSID* clsid) const {
  *clsid = CLSID_ItemMoniker;
  return S_OK;
}

}  // namespace plat
