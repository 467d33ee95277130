#pragma once
// What an upgrade sends to the server programs, written out step by step as the programs expect it:
// "b" for the configuration-changed broadcast to all five, "target:code:argument" for a task.

#include <string>
#include <vector>

namespace tolva::upgrade {

// The task messages of each version step, oldest first, as the server programs expect them.
inline const std::vector<std::vector<std::string>> kStepMessages = {
    {"4:3841:0", "0:2:0"},  // 7.1.3
    {"0:3:1", "0:4:2"},     // 7.4.6
    {"0:4:3", "0:4:4"},     // 7.4.7
    {"4:3845:5"},           // 7.6.1
    {"4:3845:6"},           // 7.6.3
    {"4:3845:8"},           // 7.7.2
    {"0:2:9"},              // 8.2.10
    {"0:2:10"},             // 8.2.13
    {"0:4:11"},             // 8.3.11
    {"4:3845:12"},          // 8.3.12
    {"4:3845:13"},          // 8.3.13
    {"4:3845:14"},          // 8.3.14
    {"0:4:15"},             // 8.3.15
    {},                     // 8.3.16 host addresses
    {"0:4:16"},             // 8.3.17
    {"0:4:18"},             // 8.5.2 after the WebDAV handler
    {"4:3845:19"},          // 8.5.2-9
    {},                     // 8.5.3 folder renames
    {"4:3845:20"},          // 8.5.3-7
    {"0:2:21"},             // 8.5.3-11
    {"0:2:22"},             // 8.5.6-1
    {},                     // 8.5.6-2 PHP handler
    {},                     // 8.5.7-5 minutes
    {},                     // 8.5.7-6 bytes
    {},                     // 8.6.9 DNS
    {},                     // 8.9.0-1 IMAP rules
    {"4:3845:23"},          // 8.9.2
    {"4:3845:24"},          // 8.9.3-4
    {"4:3845:25"},          // 8.9.3-6
    {"4:3845:26"},          // 8.9.3-8
    {"0:4:27"},             // 8.9.5-3
    {"4:3845:28"},          // 8.9.7-6
    {},                     // 8.9.8-3
};

// Every step's test is followed by the broadcast to the five programs; the steps from firstStep
// (1-based) on carry out their tasks.
inline std::vector<std::string> ExpectedMessages(size_t firstStep) {
    std::vector<std::string> messages;
    for (size_t step = 1; step <= kStepMessages.size(); ++step) {
        messages.insert(messages.end(), 5, "b");
        if (step >= firstStep) {
            const std::vector<std::string>& posts = kStepMessages[step - 1];
            messages.insert(messages.end(), posts.begin(), posts.end());
        }
    }
    return messages;
}

}  // namespace tolva::upgrade
