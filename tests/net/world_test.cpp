// The rules that decide the match, through the real World without a window.
#include <algorithm>
#include <array>

#include "world_fixture.h"

namespace {

struct Firing : WorldInput {
    Firing() { fireButton = true; }
};

std::int32_t count(const std::vector<std::int32_t>& samples, std::int32_t sample) {
    return static_cast<std::int32_t>(std::count(samples.begin(), samples.end(), sample));
}

// Holding the trigger at 100 frames a second: about six machine-gun shots a second, one
// rail shot in two seconds, and without ammunition the empty click at the same pace.
TEST_F(WorldTest, TheTriggerFiresAtEachWeaponsPaceWhileAmmunitionLasts) {
    // weapon, ammunition, frames, shots, empty clicks
    const std::array<std::int32_t, 5> cases[] = {{WEAPON_MG, 200, 100, 6, 0},
                                                 {WEAPON_MG, 0, 100, 0, 6},
                                                 {WEAPON_RAIL, 5, 100, 1, 0},
                                                 {WEAPON_RAIL, 0, 450, 0, 3}};
    for (const auto& [weapon, ammo, frames, shots, clicks] : cases) {
        for (int i = 0; i < 250; ++i) frame();  // the timer runs out, the shots expire
        samples.clear();
        PlayerStatus::setWeapon(weapon);
        PlayerStatus::setAmmo(ammo, weapon);
        for (int i = 0; i < frames; ++i) frame(Firing());
        const std::int32_t shotSample = weapon == WEAPON_MG ? Sample::Minigun : Sample::Rail;
        EXPECT_EQ(std::make_tuple(count(samples, shotSample), count(samples, Sample::NoAmmo),
                                  PlayerStatus::getAmmo(weapon)),
                  std::make_tuple(shots, clicks, ammo - shots))
            << weapon << " " << ammo;
    }
}

// A rail shot through another player's Voka reports the hit once, with its sample, and
// is withdrawn with its beams after two seconds.
TEST_F(WorldTest, AnOwnShotHitsInItsWindowAndIsWithdrawnWhenItExpires) {
    const std::int32_t player = addPlayer(2, {850, 800, 0, 0, 0, 0});
    const float eye[4] = {800, 800, 5, 1}, aim[4] = {1, 0, 0, 0};
    PlayerStatus::setEye(eye);
    PlayerStatus::setMuzzle(eye);
    PlayerStatus::setAim(aim);
    PlayerStatus::setWeapon(WEAPON_RAIL);
    PlayerStatus::setAmmo(1, WEAPON_RAIL);
    for (int i = 0; i < 3; ++i) frame(Firing());
    EXPECT_EQ(world->tableSizes().beams, 2u);
    for (int i = 0; i < 210; ++i) frame();
    std::vector<net::WireMessage> told;
    for (const net::WireMessage& m : sent())
        if (m.type() != net::MSG_UPDATE) told.push_back(m);
    ASSERT_EQ(told.size(), 3u);
    const std::int32_t shot = net::readSerial(told[0].body());
    EXPECT_EQ(told[1],
              net::encodeEvent(net::MSG_HIT, {shot, TYPE_BULLET_RAIL}, {player, TYPE_VOKA_GREEN},
                               {world->ownId(), TYPE_VOKA_RED}));
    EXPECT_EQ(told[2], net::encodeRemove(shot, TYPE_BULLET_RAIL));
    EXPECT_EQ(count(samples, Sample::Hit), 1);
    EXPECT_EQ(world->tableSizes().ownProjectiles + world->tableSizes().beams, 0u);
}

// A Voka (heading 0) past a wall comes back 17 units inside with its heading mirrored
// off that wall; in a corner both walls apply.
TEST_F(WorldTest, TheArenaWallsTurnTheVokaBack) {
    // start x, y; then x, y, heading after one frame
    const std::array<float, 5> cases[] = {
        {10, 800, 17, 800, 180}, {5, 1595, 17, 1583, -180}, {800, 800, 800, 800, 0}};
    for (const auto& c : cases) {
        startAt(c[0], c[1]);
        startWorld();
        world->collide();
        Pose pose, look;
        world->getCameraPose(pose, look);
        EXPECT_EQ((std::array{c[0], c[1], pose.x, pose.y, pose.rotZ}), c);
    }
}

// The victim decides: armor absorbs first, health below 1 sends MSG_KILL naming the
// shooter and the own Voka explodes. A hit on someone else, or by a shot that never
// existed, only flashes.
TEST_F(WorldTest, HitsOnTheOwnVokaFollowTheDamageTable) {
    const std::int32_t mg = (2 << 16) | 5, rail = (2 << 16) | 6, shooter = (2 << 16) | 1;
    ASSERT_EQ(world->onNewObject(mg, TYPE_BULLET_MG, {}), 0);
    ASSERT_EQ(world->onNewObject(rail, TYPE_BULLET_RAIL, {}), 0);
    const std::int32_t own = world->ownId(), other = addPlayer(3);
    const struct {
        const char* name;
        std::int32_t shot, victim, armor, health, armorAfter, healthAfter;
        bool killed;
    } cases[] = {{"another player", rail, other, 0, 30, 0, 30, false},
                 {"a shot that never existed", (2 << 16) | 9, own, 0, 30, 0, 30, false},
                 {"armor 2, machine gun", mg, own, 2, 100, 0, 98, false},
                 {"armor 100, rail", rail, own, 100, 100, 40, 70, false},
                 {"armor 0, rail at 30", rail, own, 0, 30, 0, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerStatus::setArmor(c.armor);
        PlayerStatus::setHealth(c.health);
        world->onCombatEvent(net::MSG_HIT, c.shot, c.victim, shooter, 0, 0);
        EXPECT_TRUE(world->isFlashing());
        EXPECT_EQ(PlayerStatus::getArmor(), c.armorAfter);
        EXPECT_EQ(PlayerStatus::getHealth(), c.healthAfter);
        const std::vector<net::WireMessage> kill = {net::encodeEvent(
            net::MSG_KILL, {own, TYPE_VOKA_RED}, {rail, TYPE_BULLET_RAIL}, {shooter, 0})};
        EXPECT_EQ(sent(), c.killed ? kill : std::vector<net::WireMessage>{});
        frame();
        EXPECT_EQ(world->isDead(), c.killed);
    }
}

// A kill credits the shooter once, and only for a player that is known and not down: a
// second report of the same death, or one naming nobody, gives no frag.
TEST_F(WorldTest, AKillCountsOnceForAKnownPlayerAndTheRankingListsEveryPlayer) {
    const std::int32_t victim = addPlayer(2), own = world->ownId();
    const auto kill = [&](std::int32_t id) {
        world->onCombatEvent(net::MSG_KILL, id, (2 << 16) | 5, own, 0, 0);
    };
    kill((7 << 16) | 1);
    kill(victim);
    kill(victim);
    EXPECT_EQ(PlayerStatus::getFrags(), 1);
    EXPECT_TRUE(world->player(victim)->destroyed);
    world->onDataEvent(net::MSG_RESPAWN, victim, net::kRespawnPayload, 8);
    kill(victim);
    EXPECT_EQ(PlayerStatus::getFrags(), 2);

    // Equal frags in either order, the own row always there; a name announced twice is
    // reported once.
    const std::uint8_t bob[] = {'b', 'o', 'b', 0}, eve[] = {'e', 'v', 'e', 0}, three[] = {3};
    for (std::int32_t number : {2, 3}) {
        const std::int32_t id = number == 2 ? victim : addPlayer(number);
        world->onDataEvent(net::MSG_NAME, id, number == 2 ? bob : eve, 4);
        world->onDataEvent(net::MSG_NAME, id, number == 2 ? bob : eve, 4);
        world->onDataEvent(net::MSG_FRAGS, id, three, 1);
    }
    std::rewind(console);
    char lines[64] = {};
    std::fread(lines, 1, sizeof lines - 1, console);
    EXPECT_STREQ(lines, "bob connected...\neve connected...\n");
    const std::vector<RankingRow> rows = world->rankingRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].name + rows[1].name == "bobeve" || rows[0].name + rows[1].name == "evebob");
    EXPECT_EQ(rows[0].frags + rows[1].frags, "33");
    EXPECT_EQ(rows[2].place + rows[2].name + rows[2].frags, "3me2");
}

// Every item under the Voka is tried: a taken one is passed over, a full value refuses
// its item, the others are taken and reported.
TEST_F(WorldTest, AnItemTakenOrRefusedDoesNotBlockTheOthers) {
    const std::uint8_t codes[] = {ITEM_POWER25, ITEM_POWER15, ITEM_AMMO_MG, ITEM_AMOR_50};
    for (std::int32_t id = 0; id < 4; ++id)
        ASSERT_EQ(world->addItem(id, codes[id], 800, 800, 0), 0);
    const std::uint8_t taken[] = {1};
    world->onDataEvent(net::MSG_ITEM_TAKEN, 0, taken, 1);
    PlayerStatus::setHealth(80);
    world->collide();
    EXPECT_EQ(PlayerStatus::getHealth(), 95);
    EXPECT_EQ(PlayerStatus::getArmor(), 50);
    for (std::int32_t id = 0; id < 4; ++id) EXPECT_EQ(world->itemTaken(id), id == 2 ? 0 : 1) << id;
    EXPECT_EQ(count(samples, Sample::Power15) + count(samples, Sample::Armor50), 2);
    EXPECT_EQ(sent().size(), 2u);
}

// Announcements the World cannot hold change nothing and stay within the client's cap;
// without the server the match goes on alone.
TEST_F(WorldTest, BadAnnouncementsChangeNothingFloodsAreCappedAndALostServerTakesAll) {
    EXPECT_EQ(world->onNewObject(7, 200, {}), -1);
    const std::int32_t player = addPlayer(2);
    EXPECT_EQ(world->onRemoveObject(player, TYPE_BULLET_MG), -1);
    EXPECT_EQ(world->tableSizes().players, 1u);
    for (std::int32_t n = 0; n <= static_cast<std::int32_t>(net::NetClient::kMaxRemoteObjects); ++n)
        world->onNewObject((9 << 16) | n, TYPE_BULLET_RAIL, {});
    const World::TableSizes sizes = world->tableSizes();
    EXPECT_EQ(sizes.players + sizes.remoteProjectiles, net::NetClient::kMaxRemoteObjects);
    EXPECT_LE(sizes.beams, BeamTable::kCreateWhileAtMost + 1);
    server.close();
    EXPECT_TRUE(loopback::eventually([&] {
        frame();
        return world->tableSizes().players + world->tableSizes().remoteProjectiles == 0;
    }));
}

}  // namespace
