#include "volume_check.h"

#include <windows.h>

#include "main_window_texts.h"

namespace zq70 {

std::string current_volume_label() {
    constexpr DWORD kCapacity = 255;
    char directory[kCapacity] = "";
    char label[kCapacity] = "";
    char file_system[kCapacity] = "";
    GetCurrentDirectoryA(kCapacity, directory);
    if (!GetVolumeInformationA(directory, label, kCapacity, nullptr, nullptr, nullptr, file_system,
                               kCapacity))
        return {};
    return label;
}

void warn_if_distribution_volume(const std::string& label, const UserInterface& ui) {
    if (label == kDistributionVolumeLabel)
        show_message(ui, kDistributionVolumeWarning, MessageIcon::None);
}

} // namespace zq70
