#include "generators.h"

namespace datagen {
namespace {

// At most 18 lines show on the story screen, each under 100 characters.
constexpr const char* kStory =
    "The year is 2231. The old highways are gone, and the valleys belong to the arenas.\n"
    "\n"
    "Every season the clans of the lowlands send their drivers to the Voka Arena.\n"
    "A Voka is a short, heavy car with a turret on its roof and a temper in its engine.\n"
    "Red Vokas come from the foundries of Kessel Deep, green ones from the Verdant Reach.\n"
    "\n"
    "The rules are simple. The fence holds everyone in. The fog hides the valleys.\n"
    "Health crates, armor shields and ammunition lie scattered across the hills.\n"
    "The machine gun chews through armor; the rail gun punches through everything.\n"
    "\n"
    "You drive for the Arena Guild. You have no clan and no sponsor, only a car,\n"
    "two guns and a name that nobody in the stands has ever shouted.\n"
    "\n"
    "Thirty frags win the season. Nobody has ever finished one without a scratch.\n"
    "Start your engine, watch the ridges, and never stop in the fog.\n";

// Loopback relay on an unprivileged port, w/s/a/d driving, weapons on their own number
// keys, 800 x 600 and the effects that look good.
constexpr const char* kSettings =
    "action_fwd w\n"
    "action_back s\n"
    "action_left a\n"
    "action_right d\n"
    "action_centerview c\n"
    "weapon_7 7\n"
    "weapon_2 2\n"
    "invert false\n"
    "sensitivity 5\n"
    "playername Player\n"
    "vokatype red\n"
    "server_ip 127.0.0.1\n"
    "server_port 24500\n"
    "resolution 1\n"
    // Stencil shadows cost a software renderer three quarters of a frame with a few
    // Vokas in view; players with a graphics card switch them on in the configuration.
    "shadow false\n"
    "lensflare true\n"
    "blur false\n"
    "fog true\n"
    "sound true\n"
    "multitexturing true\n"
    "mipmapping true\n"
    "texturqual 2\n"
    "rendermode 2\n"
    "fov 75\n"
    "lod true\n";

}  // namespace

void writeTextFiles(Output& out) {
    out.writeText("story.txt", kStory);
    out.writeText("zrv.cfg", kSettings);
}

}  // namespace datagen
