// An item moniker: a delimiter and an item name ("!" and "FilterGraph … pid …"), shown
// as their concatenation. Graphs name themselves with one in the running object table.
#pragma once

#include <com/Moniker.h>

#include <string>

namespace plat {

class ItemMoniker final : public Moniker {
 public:
  // A new moniker holding one reference, for the caller.
  static IMoniker* create(std::wstring delimiter, std::wstring item);

 protected:
  std::wstring displayName() const override { return m_delimiter + m_item; }
  DWORD systemMoniker() const override { return MKSYS_ITEMMONIKER; }
  HRESULT classId(CLSID* clsid) const override;

 private:
  ItemMoniker(std::wstring delimiter, std::wstring item);
  ~ItemMoniker() override = default;

  std::wstring m_delimiter;
  std::wstring m_item;
};

}  // namespace plat
