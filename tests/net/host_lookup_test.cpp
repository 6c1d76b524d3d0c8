// Host names are looked up with a deadline; dotted addresses are not looked up at all.
#include "net/host_lookup.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <future>

namespace {

enum class NameServer { Answers, Fails, NeverAnswers };

TEST(ResolveWithin, AnswersOrGivesUpByTheDeadline) {
    const struct {
        const char* host;
        NameServer server;
        std::uint32_t found;  // the address found, 0 for none
    } cases[] = {             // A dotted address is used without asking the name server.
                 {"10.1.2.3", NameServer::NeverAnswers, 0x0A010203},
                 {"game.example", NameServer::Answers, 0xC0000207},
                 {"game.example", NameServer::Fails, 0},
                 {"game.example", NameServer::NeverAnswers, 0},
                 {"", NameServer::Answers, 0}};
    for (const auto& c : cases) {
        std::promise<void> release;
        const auto nameServer = [c, gate = release.get_future().share()](const std::string&,
                                                                         in_addr& address) {
            if (c.server == NameServer::NeverAnswers) gate.wait();
            address.s_addr = htonl(0xC0000207);  // 192.0.2.7
            return c.server == NameServer::Answers;
        };
        // One that never answers is given up after a tenth of a second; the others answer
        // at once, with all the time a loaded machine may need.
        const std::chrono::milliseconds timeout(c.server == NameServer::NeverAnswers ? 100 : 10000);
        in_addr address{};
        EXPECT_EQ(net::resolveWithin(c.host, address, timeout, nameServer), c.found != 0) << c.host;
        release.set_value();
        EXPECT_TRUE(c.found == 0 || ntohl(address.s_addr) == c.found) << c.host;
    }
}

}  // namespace
