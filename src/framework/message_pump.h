#pragma once
// Dispatches every event waiting in the queue and returns when it is empty.
// Long runs call it between steps so the windows stay alive.
void PumpWaitingMessages();
