#include "support/socket_error.h"

namespace {

struct named_error {
    int code;
    const char* name;
};

constexpr named_error named_errors[] = {
    {10004, "EINTR"},
    {10009, "EBADF"},
    {10013, "EACCES"},
    {10014, "EFAULT"},
    {10022, "EINVAL"},
    {10024, "EMFILE"},
    {10035, "EWOULDBLOCK"},
    {10036, "EINPROGRESS"},
    {10037, "EALREADY"},
    {10038, "ENOTSOCK"},
    {10039, "EDESTADDRREQ"},
    {10040, "EMSGSIZE"},
    {10041, "EPROTOTYPE"},
    {10042, "ENOPROTOOPT"},
    {10043, "EPROTONOSUPPORT"},
    {10044, "ESOCKTNOSUPPORT"},
    {10045, "EOPNOTSUPP"},
    {10046, "EPFNOSUPPORT"},
    {10047, "EAFNOSUPPORT"},
    {10048, "EADDRINUSE"},
    {10049, "EADDRNOTAVAIL"},
    {10050, "ENETDOWN"},
    {10051, "ENETUNREACH"},
    {10052, "ENETRESET"},
    {10053, "ECONNABORTED"},
    {10054, "ECONNRESET"},
    {10055, "ENOBUFS"},
    {10056, "EISCONN"},
    {10057, "ENOTCONN"},
    {10058, "ESHUTDOWN"},
    {10059, "ETOOMANYREFS"},
    {10060, "ETIMEDOUT"},
    {10061, "ECONNREFUSED"},
    {10062, "ELOOP"},
    {10063, "ENAMETOOLONG"},
    {10064, "EHOSTDOWN"},
    {10065, "EHOSTUNREACH"},
    {10066, "ENOTEMPTY"},
    {10068, "EUSERS"},
    {10069, "EDQUOT"},
    {10070, "ESTALE"},
    {10071, "EREMOTE"},
    {10091, "SYSNOTREADY"},
    {10092, "VERNOTSUPPORTED"},
    {10093, "NOTINITIALISED"},
    {10101, "EDISCON"},
    {10102, "ENOMORE"},
    {10103, "ECANCELLED"},
    {10104, "EINVALIDPROCTABLE"},
    {10105, "EINVALIDPROVIDER"},
    {10106, "EPROVIDERFAILEDINIT"},
    {10107, "SYSCALLFAILURE"},
    {10108, "SERVICE_NOT_FOUND"},
    {10109, "TYPE_NOT_FOUND"},
    {10110, "E_NO_MORE"},
    {10111, "E_CANCELLED"},
    {10112, "EREFUSED"},
};

}  // namespace

std::string socket_error_name(int code) {
    for (const named_error& error : named_errors) {
        if (error.code == code) {
            return error.name;
        }
    }
    return std::to_string(code);
}
