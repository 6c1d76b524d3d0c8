// Host names are looked up with a deadline; dotted addresses are not looked up at all.
#include "net/host_lookup.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

namespace {

using std::chrono::milliseconds;

enum class Answer { Found, NotFound, Never };

struct LookupCase {
    const char* host;
    Answer answer;  // of the name server, when it is asked
    bool found;
    const char* address;  // the result when found
    bool asked;
};

class ResolveWithin : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ResolveWithin, AnswersOrGivesUpByTheDeadline) {
    const LookupCase& c = GetParam();
    auto asked = std::make_shared<std::atomic<int>>(0);
    std::promise<void> release;
    const net::Resolver nameServer = [asked, c, gate = release.get_future().share()](
                                         const std::string&, in_addr& address) {
        ++*asked;
        if (c.answer == Answer::Never) gate.wait();  // past the deadline
        ::inet_pton(AF_INET, "192.0.2.7", &address);
        return c.answer == Answer::Found;
    };
    in_addr address{};
    // A name server that never answers is given up after a tenth of a second; the others
    // answer at once, and have all the time a loaded machine may need.
    const milliseconds timeout(c.answer == Answer::Never ? 100 : 10000);
    EXPECT_EQ(net::resolveWithin(c.host, address, timeout, nameServer), c.found);
    release.set_value();
    char text[INET_ADDRSTRLEN] = "";
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    if (c.found) {
        EXPECT_STREQ(text, c.address);
    }
    if (!c.asked) {
        EXPECT_EQ(*asked, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ResolveWithin,
    ::testing::Values(LookupCase{"10.1.2.3", Answer::Found, true, "10.1.2.3", false},
                      LookupCase{"game.example", Answer::Found, true, "192.0.2.7", true},
                      LookupCase{"game.example", Answer::NotFound, false, "", true},
                      LookupCase{"game.example", Answer::Never, false, "", true},
                      LookupCase{"", Answer::Found, false, "", false}));

}  // namespace
