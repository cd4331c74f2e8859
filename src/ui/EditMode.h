#pragma once

namespace slidesmith::ui {

// Whether a row dialog of the configuration dialog adds a row or changes the selected one.
enum class EditMode { New, Edit };

} // namespace slidesmith::ui
