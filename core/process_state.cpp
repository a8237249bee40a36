#include "core/process_state.h"

int instanceNumber = 0;
int displayColourDepth = 0;
char openFolder[kPathChars] = "";
char saveFolder[kPathChars] = "";
char logFolder[kPathChars] = "";
