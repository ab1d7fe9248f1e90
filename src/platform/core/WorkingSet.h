#pragma once
// The process's working set: the memory it holds from the system.

// Hands the free memory at the top of the heap and in its arenas back to the system.
void TrimWorkingSet();
