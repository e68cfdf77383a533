#pragma once

class QWidget;
class XPShadow;

namespace Accessibility {

// Lets assistive technology see the skinned controls and the list boxes.
void install();
// Tells that the label names the field.
void linkLabel(XPShadow* label, QWidget* field);

} // namespace Accessibility
