// What the window says about the start-up's own failures, made from what the
// core reports: the sequence counter's, the request import's and the settings'.
// Windows-1252; "" where nothing is to be said.
#pragma once

#include "config/settings_store.h"
#include "gdt/request_import.h"
#include "gdt/sequence_counter.h"

#include <string>
#include <vector>

namespace tessaro::app {

std::string CounterMessage(const gdt::DrawnNumber& drawn);
std::string ImportMessage(const gdt::ImportResult& imported);
// One message for each problem the settings' load found, in its order.
std::vector<std::string> SettingsMessages(const config::StartupValues& loaded);
std::string SettingsTooLargeMessage();
// That the short code could not be kept for the next start, naming the file.
std::string ShortCodeNotSavedMessage(const std::string& iniFile);

} // namespace tessaro::app
