#include <mfc/CObject.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
 public:
  int radius = 3;

 protected:
  CCircle() = default;  // creatable only through its run-time class
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

TEST(CRuntimeClass, IsKindOfFollowsTheBaseChain) {
  std::unique_ptr<CObject> circle(RUNTIME_CLASS(CCircle)->CreateObject());
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
  EXPECT_TRUE(circle->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(circle->IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_STREQ(circle->GetRuntimeClass()->m_lpszClassName, "CCircle");
  EXPECT_EQ(static_cast<CCircle*>(circle.get())->radius, 3);

  CShape shape;
  EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);  // not creatable
}

TEST(CRuntimeClass, CreatesByClassName) {
  CRuntimeClass* cls = CRuntimeClass::FromName("CCircle");
  ASSERT_EQ(cls, RUNTIME_CLASS(CCircle));
  std::unique_ptr<CObject> object(cls->CreateObject());
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName("ccircle"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CMissing"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(CRuntimeClass, ModuleClassesAreKnownOnlyWhileLoaded) {
  const std::string path = std::string(ORVANE_TEST_BINARY_DIR) + "/platform/mfc/mfc_dynclass_module.so";
  ASSERT_EQ(CRuntimeClass::FromName("CModuleObserver"), nullptr);
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  CRuntimeClass* cls = CRuntimeClass::FromName("CModuleObserver");
  ASSERT_NE(cls, nullptr);
  CObject* object = cls->CreateObject();
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_EQ(object->GetRuntimeClass(), cls);
  delete object;
  dlclose(module);
  EXPECT_EQ(CRuntimeClass::FromName("CModuleObserver"), nullptr);
}

}  // namespace
