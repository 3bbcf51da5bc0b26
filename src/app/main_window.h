#pragma once

namespace qv {

class Program;
class Form1;

// The start-up sequence, the close request (hide to the tray), restoring
// from the tray, the tray menu and the two exits.
void installMainWindow(Program& program);

}  // namespace qv
