#include <gtest/gtest.h>

#include "dialogs/splash_form.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"

namespace folvane {
namespace {

class Splash : public ::testing::Test {
 protected:
  FakePlatform platform;
  FakeToolkit toolkit{platform};
  SplashForm splash{toolkit};
};

TEST_F(Splash, ClosesItselfAfter2500MsEachTimeItIsShown) {
  for (int showing = 0; showing < 2; ++showing) {
    SCOPED_TRACE(showing);
    long long shownAt = toolkit.now();
    toolkit.onModal = [&](Form&) {
      EXPECT_EQ(splash.lblVersion.caption(), "Version 1.1.0");
      EXPECT_EQ(splash.lblProductName.caption(), "Folvane");
      EXPECT_EQ(splash.Label2.caption(), "Copyright (C) 2026 Folvane");
      toolkit.advance(2499);
      EXPECT_TRUE(splash.isLoaded());
      toolkit.advance(1);
      EXPECT_FALSE(splash.isLoaded());
    };
    splash.showModal();
    EXPECT_EQ(toolkit.now() - shownAt, 2500);
  }
}

}  // namespace
}  // namespace folvane
