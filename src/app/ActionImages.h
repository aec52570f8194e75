#pragma once
// The images of the program's actions, by action name, in one table as an image list is designed:
// a new action takes its image by adding a row.
#include <vector>
#include "platform/Actions.h"

/// The images of the two kinds of link; the Close action shows the one of the link it closes.
inline constexpr const char16_t* SerialLinkImage = u"network-connect";
inline constexpr const char16_t* TcpLinkImage = u"network-server";

/// Gives every action of the lists that has a row in the table its designed image.
void AssignActionImages(const std::vector<TActionList*>& lists);
