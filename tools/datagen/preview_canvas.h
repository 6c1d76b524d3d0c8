#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mesh.h"

namespace datagen {

// Textures of the game directory, decoded with stb_image (which also checks that our
// TGA and BMP files read back).
struct Texture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

class TextureCache {
  public:
    explicit TextureCache(std::string dir) : dir_(std::move(dir)) {}
    const Texture* get(const std::string& name);

  private:
    std::string dir_;
    std::map<std::string, Texture> cache_;
};

struct Camera {
    Vec3 eye, target;
    float fov = 30;
};

// How one model is drawn: where its points go (preview space, Y up), whether the sun
// lights it, and an optional ground-fog amount (0 to 1) per placed point.
struct Placement {
    std::function<Vec3(Vec3)> place;
    bool lit = true;
    std::function<float(Vec3)> fog;
};

// A small software renderer: z-buffer, per-vertex light from the game's sun, textures
// sampled with perspective correction.
class Canvas {
  public:
    Canvas(int w, int h);
    void draw(const Model& model, const Placement& placement, const Camera& cam,
              TextureCache& textures);
    bool save(const std::string& path) const;

  private:
    struct Corner {
        float sx, sy, z, u, v, light, fog;
    };
    void set(int x, int y, Vec3 c);
    void fill(const Corner& a, const Corner& b, const Corner& c, const Material& mat,
              const Texture* tex);

    int w_, h_;
    std::vector<unsigned char> rgb_;
    std::vector<float> depth_;
};

}  // namespace datagen
