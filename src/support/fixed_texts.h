#pragma once
// The host names, port and address this program is built around. There is no configuration:
// these are the only places they are written.

inline constexpr char server_list_host[] = "servserv.westwood.com";
inline constexpr char chat_host[] = "irc.westwood.com";
inline constexpr int server_list_port = 4005;
inline constexpr char community_server_list_host[] = "servserv.ketrin.net";
inline constexpr char ladders_page_address[] = "https://ketrin.net/ladders/";
