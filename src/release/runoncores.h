// Runs numbered tasks on a given number of cores, sharing spare cores out.

#ifndef RUNONCORES_H
#define RUNONCORES_H

#include <QString>

#include <functional>

/// Runs tasks 0 to count - 1, in that order, on \a cores threads. Each task
/// takes a core; when fewer tasks wait than cores are free, the one starting
/// takes the spare cores too if it \a canShare its work. Stops starting tasks
/// after one fails; \a error then holds the first failure.
bool runOnCores(int count, int cores, const std::function<bool(int task)> &canShare,
                const std::function<bool(int task, int cores, QString *error)> &task, QString *error);

#endif // RUNONCORES_H
