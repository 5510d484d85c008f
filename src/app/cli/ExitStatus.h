// The exit statuses of pelk-cli, for scripts.
#pragma once

enum ExitStatus {
    ExitEstimated = 0,
    ExitModelRefused = 1, // not valid, or not estimable without --force
    ExitUnreadable = 2, // the file cannot be opened or read
    ExitRunFailed = 3, // the parameter run failed (a numeric error)
    ExitShardsRefused = 4, // bootstrap-merge: the files are not the shards of one run
    ExitUsage = 64, // EX_USAGE
    ExitInterrupted = 130, // 128 + SIGINT
};
