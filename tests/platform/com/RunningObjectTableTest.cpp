#include "ComTest.h"

#include <com/ComPtr.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

plat::ComPtr<IMoniker> itemMoniker(const wchar_t* item) {
  plat::ComPtr<IMoniker> moniker;
  EXPECT_EQ(CreateItemMoniker(L"!", item, moniker.put()), S_OK);
  return moniker;
}

plat::ComPtr<IRunningObjectTable> rot() {
  plat::ComPtr<IRunningObjectTable> table;
  EXPECT_EQ(GetRunningObjectTable(0, table.put()), S_OK);
  return table;
}

// The name a graph registers itself under.
std::wstring graphName(const void* graph, unsigned pid) {
  wchar_t name[128];
  std::swprintf(name, 128, L"FilterGraph %08p pid %08x", graph, pid);
  return name;
}

using RunningObjectTableTest = test::ComTest;

TEST_F(RunningObjectTableTest, ItemMonikerShowsDelimiterAndItem) {
  plat::ComPtr<IMoniker> moniker = itemMoniker(L"FilterGraph 1 pid 2");
  LPOLESTR name = nullptr;
  ASSERT_EQ(moniker->GetDisplayName(nullptr, nullptr, &name), S_OK);
  EXPECT_STREQ(name, L"!FilterGraph 1 pid 2");
  CoTaskMemFree(name);
  DWORD kind = 0;
  EXPECT_EQ(moniker->IsSystemMoniker(&kind), S_OK);
  EXPECT_EQ(kind, static_cast<DWORD>(MKSYS_ITEMMONIKER));
  CLSID clsid{};
  EXPECT_EQ(moniker->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_ItemMoniker);
}

TEST_F(RunningObjectTableTest, RegisterFindAndRevokeByName) {
  test::CountedObject graph;
  std::wstring name = graphName(&graph, 1234);
  plat::ComPtr<IMoniker> moniker = itemMoniker(name.c_str());
  plat::ComPtr<IRunningObjectTable> table = rot();

  DWORD cookie = 0;
  ASSERT_EQ(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, &graph, moniker.get(), &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  EXPECT_EQ(graph.refs(), 2u);  // the table holds the graph

  // Another moniker of the same name finds it, in any case.
  plat::ComPtr<IMoniker> sameName = itemMoniker(name.c_str());
  EXPECT_EQ(table->IsRunning(sameName.get()), S_OK);
  std::wstring upper = name;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  plat::ComPtr<IMoniker> shouted = itemMoniker(upper.c_str());
  plat::ComPtr<IUnknown> found;
  ASSERT_EQ(table->GetObject(shouted.get(), found.put()), S_OK);
  EXPECT_EQ(found.get(), &graph);
  found.reset();
  EXPECT_EQ(sameName->IsRunning(nullptr, nullptr, nullptr), S_OK);

  ASSERT_EQ(table->Revoke(cookie), S_OK);
  EXPECT_EQ(graph.refs(), 1u);
  EXPECT_EQ(table->IsRunning(sameName.get()), S_FALSE);
  EXPECT_EQ(table->GetObject(sameName.get(), found.put()), MK_E_UNAVAILABLE);
  EXPECT_EQ(found.get(), nullptr);
  EXPECT_EQ(table->Revoke(cookie), E_INVALIDARG);
}

TEST_F(RunningObjectTableTest, TwoGraphsGetDistinctCookiesAndEachRevokesItsOwn) {
  test::CountedObject first, second;
  plat::ComPtr<IRunningObjectTable> table = rot();
  plat::ComPtr<IMoniker> firstName = itemMoniker(graphName(&first, 7).c_str());
  plat::ComPtr<IMoniker> secondName = itemMoniker(graphName(&second, 7).c_str());
  DWORD firstCookie = 0, secondCookie = 0;
  ASSERT_EQ(table->Register(0, &first, firstName.get(), &firstCookie), S_OK);
  ASSERT_EQ(table->Register(0, &second, secondName.get(), &secondCookie), S_OK);
  EXPECT_NE(firstCookie, secondCookie);

  plat::ComPtr<IEnumMoniker> running;
  ASSERT_EQ(table->EnumRunning(running.put()), S_OK);
  IMoniker* listed[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(running->Next(3, listed, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) listed[i]->Release();

  ASSERT_EQ(table->Revoke(firstCookie), S_OK);
  EXPECT_EQ(table->IsRunning(firstName.get()), S_FALSE);
  EXPECT_EQ(table->IsRunning(secondName.get()), S_OK);
  ASSERT_EQ(table->Revoke(secondCookie), S_OK);
  EXPECT_EQ(first.refs(), 1u);
  EXPECT_EQ(second.refs(), 1u);
}

TEST_F(RunningObjectTableTest, SecondRegistrationOfANameIsKeptAndFlagged) {
  test::CountedObject first, second;
  plat::ComPtr<IRunningObjectTable> table = rot();
  plat::ComPtr<IMoniker> name = itemMoniker(L"Shared");
  DWORD firstCookie = 0, secondCookie = 0;
  ASSERT_EQ(table->Register(0, &first, name.get(), &firstCookie), S_OK);
  ASSERT_EQ(table->Register(0, &second, name.get(), &secondCookie), MK_S_MONIKERALREADYREGISTERED);
  EXPECT_EQ(second.refs(), 2u);
  ASSERT_EQ(table->Revoke(firstCookie), S_OK);
  plat::ComPtr<IUnknown> found;
  ASSERT_EQ(table->GetObject(name.get(), found.put()), S_OK);
  EXPECT_EQ(found.get(), &second);
  found.reset();
  ASSERT_EQ(table->Revoke(secondCookie), S_OK);
}

TEST_F(RunningObjectTableTest, TableIsOneForTheProcessAndBindContextsShareIt) {
  plat::ComPtr<IRunningObjectTable> direct = rot();
  plat::ComPtr<IBindCtx> bindCtx;
  ASSERT_EQ(CreateBindCtx(0, bindCtx.put()), S_OK);
  plat::ComPtr<IRunningObjectTable> viaContext;
  ASSERT_EQ(bindCtx->GetRunningObjectTable(viaContext.put()), S_OK);
  EXPECT_EQ(viaContext.get(), direct.get());
  EXPECT_EQ(GetRunningObjectTable(1, viaContext.put()), E_UNEXPECTED);
}

TEST_F(RunningObjectTableTest, BadArgumentsAreRefused) {
  plat::ComPtr<IRunningObjectTable> table = rot();
  test::CountedObject object;
  plat::ComPtr<IMoniker> name = itemMoniker(L"x");
  DWORD cookie = 99;
  EXPECT_EQ(table->Register(0, nullptr, name.get(), &cookie), E_INVALIDARG);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(table->Register(0, &object, nullptr, &cookie), E_INVALIDARG);
  EXPECT_EQ(object.refs(), 1u);
}

}  // namespace
