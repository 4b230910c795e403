#include "hardening/proc_net_tcp.h"

const char proc_net_tcp_path[] = "/proc/net/tcp";
