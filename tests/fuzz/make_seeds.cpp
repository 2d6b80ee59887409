// Writes a handful of valid images made by the encoder, one file each, as fuzzing seeds.
#include <cstdio>
#include <string>

#include "config/files.h"
#include "config/image.h"
#include "seed_configurations.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    for (const zq70::fuzz::SeedConfiguration& seed : zq70::fuzz::seed_configurations()) {
        zq70::DeviceImage image;
        ok = ok && zq70::encode_image(seed.config, image, zq70::UserInterface{}) &&
             zq70::write_image_file(folder + "/" + seed.name + ".cfg", image);
    }
    return ok ? 0 : 1;
}
