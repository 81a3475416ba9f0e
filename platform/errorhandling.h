#pragma once

#include <functional>
#include <initializer_list>

// The two ways a handler deals with run-time errors besides letting them go up.

// Runs the steps in order; a step that fails is skipped and the next one runs. A command
// called from a step that fails inside that command ends there, silently.
void runIgnoringErrors(std::initializer_list<std::function<void()>> steps);

// Runs the handler; a run-time error ends it and its description is shown in a message
// box with an OK button, captioned with the application title.
void runReportingErrors(const std::function<void()> &handler);

// Shows the description of the exception being handled, as runReportingErrors does.
void reportCurrentError();
