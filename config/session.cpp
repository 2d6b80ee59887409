#include "session.h"

#include "files.h"

namespace zq70 {

bool new_configuration(Session& session) {
    if (!query_save_changes(session)) return false;
    reset_configuration(session.config);
    show_configuration(session);
    return true;
}

void show_configuration(const Session& session) {
    const ConfigurationView& view = session.view;
    if (view.show_options) view.show_options();
    if (view.show_counts) view.show_counts();
    if (view.show_grid) view.show_grid();
}

} // namespace zq70
