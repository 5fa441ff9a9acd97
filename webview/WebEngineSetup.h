#pragma once

// What the web engine must know before the QApplication exists: the res scheme, and that
// the views draw in software. Calling it again does nothing more.
void SetUpWebEngineBeforeApplication();
