// Runs one workspace's estimation in a command's event loop, where Ctrl-C
// arrives (InterruptHandler) and cancels it, and gives the exit status of
// its outcome.
#pragma once

namespace pelk {
class WorkspaceEstimation;
}
class InterruptHandler;

int estimateInEventLoop(pelk::WorkspaceEstimation &estimation, InterruptHandler &interrupt);
