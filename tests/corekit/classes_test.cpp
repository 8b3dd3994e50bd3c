// Ownership and copying of components.
#include <gtest/gtest.h>

#include <memory>

#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/raises.h"

namespace {

class TProbe : public orv::TComponent {
 public:
  TProbe(orv::TComponent* AOwner, int* Destroyed) : TComponent(AOwner), FDestroyed(Destroyed) {}
  ~TProbe() override { ++*FDestroyed; }
  std::string ClassName() const override { return "TProbe"; }

 private:
  int* FDestroyed;
};

TEST(Components, OwnerDestroysWhatItOwnsAtEveryDepth) {
  int Destroyed = 0;
  {
    orv::TComponent Owner(nullptr);
    auto* Child = new TProbe(&Owner, &Destroyed);
    new TProbe(Child, &Destroyed);
    new TProbe(&Owner, &Destroyed);
    EXPECT_EQ(Owner.ComponentCount(), 2);
    EXPECT_EQ(Child->ComponentCount(), 1);
    EXPECT_EQ(Child->Owner(), &Owner);
    EXPECT_EQ(Owner.Components(0), Child);
    EXPECT_EQ(Owner.Components(2), nullptr);
    EXPECT_EQ(Owner.Components(-1), nullptr);
  }
  EXPECT_EQ(Destroyed, 3);
}

TEST(Components, ComponentDestroyedFirstLeavesItsOwner) {
  int Destroyed = 0;
  orv::TComponent Owner(nullptr);
  auto* A = new TProbe(&Owner, &Destroyed);
  auto* B = new TProbe(&Owner, &Destroyed);
  delete A;
  ASSERT_EQ(Owner.ComponentCount(), 1);
  EXPECT_EQ(Owner.Components(0), B);
  EXPECT_EQ(Destroyed, 1);
  auto Free = std::make_unique<TProbe>(nullptr, &Destroyed);
  EXPECT_EQ(Free->Owner(), nullptr);
  Free->SetName("Probe1");
  EXPECT_EQ(Free->Name(), "Probe1");
}

TEST(Components, UnsupportedAssignRaisesConvertError) {
  int Destroyed = 0;
  TProbe A(nullptr, &Destroyed);
  orv::TComponent B(nullptr);
  orv::test::ExpectRaises<orv::EConvertError>([&] { B.Assign(&A); }, "Cannot assign a TProbe to a TComponent");
  orv::test::ExpectRaises<orv::EConvertError>([&] { A.Assign(nullptr); }, "Cannot assign a nil to a TProbe");
  EXPECT_THROW(A.AssignTo(nullptr), orv::Exception);
}

}  // namespace
