#include <gtest/gtest.h>

#include "platform/Events.h"

namespace {

struct Handler : TObject {
    int a = 0, b = 0;
    void A(TObject*) { ++a; }
    void B(TObject*) { ++b; }
};

TEST(Events, MethodsCompareByObjectAndMember)
{
    using Method = TMethod<void(TObject*)>;
    Handler x, y;
    Method xa = Method::Bind<&Handler::A>(&x);
    EXPECT_TRUE(xa == Method::Bind<&Handler::A>(&x));
    EXPECT_FALSE(xa == Method::Bind<&Handler::B>(&x));
    EXPECT_FALSE(xa == Method::Bind<&Handler::A>(&y));
    EXPECT_FALSE(Method());
    EXPECT_TRUE(Method() == Method());

    Fire(xa, &x);
    Fire(Method(), &x);
    EXPECT_EQ(x.a, 1);
    EXPECT_EQ(x.b, 0);
}

} // namespace
