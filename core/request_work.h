// Installs the work of every request code into the mailbox's work table at start-up.
#pragma once

void InstallRequestWork();
