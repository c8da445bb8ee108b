#include "framesetz48.h"

// The buttons of the tables frame. Writing the open tab to the register (Button3), reading it
// back (Button4), the goods base file (Button1 save, Button2 load), clearing the goods base in
// the register (Button5) and going to an item (Button6) are filled in here by their own code.

void TFrameSetZ48::Button1Click() {}

void TFrameSetZ48::Button2Click() {}

void TFrameSetZ48::Button3Click() {}

void TFrameSetZ48::Button4Click() {}

void TFrameSetZ48::Button5Click() {}

void TFrameSetZ48::Button6Click() {}
