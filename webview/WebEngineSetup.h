#pragma once

// What the web engine must know before the QApplication exists: the res scheme, that the
// views draw in software, and then that Qt offers no OpenGL on X (no GL driver loaded for
// nothing drawn). Calling it again does nothing more.
void SetUpWebEngineBeforeApplication();
