#pragma once
// The program's default handler: an exception that ends an event handler is shown, and the
// program keeps running.
#include <functional>

/// Shows the message of the exception being handled (call inside a catch block).
void ShowCurrentException();

/// Runs fn; an exception it throws is shown and goes no further.
void RunGuarded(const std::function<void()>& fn);
