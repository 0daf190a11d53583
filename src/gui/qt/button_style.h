// The style of the picture buttons: the platform's, with a face of exactly the button's colour.
#pragma once

class QStyle;

namespace morlane::gui::qt {

// Qt's styles shade a button's face from its colour; the layout's colours (the grey face, the
// pure green of help mode) are meant as they are, so the face is filled plain inside the
// style's border. A pressed button keeps the style's own look.
QStyle* PlainFaceButtonStyle();

}  // namespace morlane::gui::qt
