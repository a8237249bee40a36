#include "core/process_state.h"

int instanceNumber = 0;
int displayColourDepth = 0;
char openFolder[kFolderBytes] = "";
char saveFolder[kFolderBytes] = "";
char logFolder[kFolderBytes] = "";
