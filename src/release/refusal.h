// How a step of publishing stops with a reason.

#ifndef REFUSAL_H
#define REFUSAL_H

#include <QString>

/// How a step of publishing gives up: \a error says why, and the step
/// returns what this returns.
inline bool refuse(QString *error, const QString &why)
{
    *error = why;
    return false;
}

#endif // REFUSAL_H
