#ifndef SERVICELOG_H
#define SERVICELOG_H

/// Every message of the program appended, with its time, to the log in the
/// applying side's own folder, the one place it writes a log.
void logToStateFolder();

#endif // SERVICELOG_H
