#pragma once
// The job windows' status fields are narrower than some of their texts: a field keeps its
// template size and position, and grows to the right, up to the next control, when a text needs
// more room.

class QLineEdit;

namespace pixmorph::ui {

void growToFitText(QLineEdit& field);

} // namespace pixmorph::ui
