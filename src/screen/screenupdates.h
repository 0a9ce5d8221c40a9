#pragma once

// Chooses how the window's pixels travel to an X server; called before the application
// object exists. Through shared memory every update costs a round trip to the server,
// however few pixels it carries, and a run sends one small update per step; sent down
// the connection, a step's few changed pixels cost far less. A setting the user made
// stands.
void preferSmallScreenUpdates();
