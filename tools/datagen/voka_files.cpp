#include "generators.h"
#include "voka_model.h"
#include "voka_textures.h"
#include "writer_3ds.h"

namespace datagen {

void writeVokaModels(Output& out) {
    const std::pair<const char*, Detail> levels[] = {
        {"", Detail::Full}, {"_middle", Detail::Middle}, {"_far", Detail::Far}};
    for (const auto& [suffix, detail] : levels) {
        out.write(std::string("models/voka_red") + suffix + ".3ds",
                  encode3ds(vokaModel(detail, "voka_red_body.tga")));
        out.write(std::string("models/voka") + suffix + ".3ds",
                  encode3ds(vokaModel(detail, "voka_green_body.tga")));
    }
    out.writeTga("textures/voka_red_body.tga",
                 vokaBodyTexture({0.78f, 0.10f, 0.07f, 1}, {0.95f, 0.95f, 0.92f, 1}, 5101), 24,
                 TgaPacking::RunLength);
    out.writeTga("textures/voka_green_body.tga",
                 vokaBodyTexture({0.16f, 0.55f, 0.18f, 1}, {0.98f, 0.84f, 0.18f, 1}, 5102), 24,
                 TgaPacking::RunLength);
    out.writeTga("textures/voka_wheel.tga", vokaWheelTexture(), 24, TgaPacking::RunLength);
}

}  // namespace datagen
