#pragma once

class FrmMain;

namespace Accessibility {

// Lets assistive technology see the skinned controls and the list boxes.
void install();
// Tells which label names which of the window's fields.
void linkLabels(FrmMain& form);

} // namespace Accessibility
