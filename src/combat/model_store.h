#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "render/scene_object.h"
#include "render/shared_textures.h"

class Explosion;
class Item;
class Sky;
class Voka;
class Weapon;

// The prototypes of every model of the match, each read from disk once, and the shared
// texture table. Every object the match creates is a copy of a prototype and shares its
// meshes, materials and OpenGL names.
//
// Prototypes are built on the loading thread (no OpenGL), uploaded on the main thread
// afterwards, and live until the process ends. Each class of match object plugs in by
// registering a factory for its slot; a slot without one stays empty, and copies from
// it report a missing prototype.
enum class Prototype : int {
    VokaRed,
    VokaGreen,
    ItemPower25,
    ItemPower15,
    ItemAmor50,
    ItemAmor100,
    ItemAmmoMg,
    ItemAmmoRail,
    Explosion,
    Sky,
    WeaponMg,
    WeaponRail,
    Count
};

class ModelStore {
  public:
    using Factory = std::unique_ptr<SceneObject> (*)();

    // Shared texture slots (the table itself is SharedTextures).
    static constexpr int kTerrainTexture = SharedTextures::kTerrain;
    static constexpr int kCircleTexture = SharedTextures::kCircle;
    static constexpr const char* kCircleTextureFile = "./textures/kreis.tga";

    // Registers how the prototype of a slot is built.
    static void setFactory(Prototype slot, Factory factory);

    // Loading thread: builds every prototype in loading order, writing the percentage
    // done into `progress` after each. Returns 0.
    static int loadPrototypes(std::atomic<float>& progress);
    // Main thread, after the loading thread has ended: initGL of every prototype.
    static void uploadPrototypes();

    // Main thread, at match start: the circle texture into slot 1, then the current
    // level's terrain texture (the caller names it; nullptr when there is no current
    // level) into slot 0. 0, or -1 after a message box.
    static int loadSharedTextures(const char* terrainTextureFile);
    static unsigned int sharedTexture(int slot);

    // The prototype of a slot, or nullptr before loading or without a factory.
    static const SceneObject* prototype(Prototype slot);

    // The part of every copy: body, shared models, texture names, identifier and type.
    // False, leaving the target as it was, when the prototype is missing.
    static bool copyBase(SceneObject& target, Prototype slot);

    // Copies of a whole prototype: the common part and the class's own fields (size,
    // animation and flags of an explosion; spin of a weapon). Without the prototype the
    // target stays as it was: copyExplosion answers -1, copySky and the weapons 0.
    static int copyExplosion(Explosion& target);
    static int copySky(Sky& target);
    static int copyWeaponMg(Weapon& target);
    static int copyWeaponRail(Weapon& target);
    // A Voka of type 128 or 129: the whole prototype, then an explosion and both weapons
    // of the copy's own. -1, leaving the target as it was, for another type code or a
    // missing prototype.
    static int copyVoka(Voka& target, std::int32_t typeCode);

    // The prototype of an item type code (133 to 138) into `item`; -1 for any other code
    // or a missing prototype, leaving the item without meshes.
    static int copyFromPrototype(Item& item, std::int32_t typeCode);

    // Whether a match object of the type code can be copied: a Voka or an item whose
    // prototype is loaded, or a shot (which needs only the explosion, if that).
    static bool canCopy(std::int32_t typeCode);

    // Drops every prototype and factory (program exit, tests).
    static void reset();
};
