#pragma once

#include <QString>
#include <QtGlobal>

// A stand-in for the system registry's narrow-character reading calls. The local-machine
// hive is a text file in the registry editor's export format, `registry/local-machine.reg`
// among the shipped files, read afresh each time a key is opened:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   "PATH"="/usr/bin/hardinfo"          text, with \\ and \" escapes
//   "Count"=dword:0000000a              a 32-bit number
//   "Data"=hex:01,02,ff                 bytes; hex(N): gives kind N
//
// Key and value names match without regard to letter case, as the registry's do.

using HKEY = quint32;

namespace RegistryKey {
inline constexpr HKEY LocalMachine = 0x80000002;
} // namespace RegistryKey

// The status codes the calls return.
namespace RegistryStatus {
inline constexpr long Success = 0;
inline constexpr long NotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidHandle = 6;
inline constexpr long MoreData = 234;
inline constexpr long CorruptHive = 1009;
} // namespace RegistryStatus

// Access rights asked for when a key is opened.
namespace RegistryAccess {
inline constexpr quint32 QueryValue = 0x0001;
inline constexpr quint32 SetValue = 0x0002;
inline constexpr quint32 CreateSubKey = 0x0004;
inline constexpr quint32 EnumerateSubKeys = 0x0008;
inline constexpr quint32 Notify = 0x0010;
inline constexpr quint32 CreateLink = 0x0020;
inline constexpr quint32 Delete = 0x10000;
inline constexpr quint32 ReadControl = 0x20000;
inline constexpr quint32 WriteDac = 0x40000;
inline constexpr quint32 WriteOwner = 0x80000;
inline constexpr quint32 Read = ReadControl | QueryValue | EnumerateSubKeys | Notify;
// The rights that change the hive: asking for any of them needs a hive the user may write.
inline constexpr quint32 Writing =
    SetValue | CreateSubKey | CreateLink | Delete | WriteDac | WriteOwner;
} // namespace RegistryAccess

// The kinds of value.
namespace RegistryKind {
inline constexpr quint32 Text = 1;
inline constexpr quint32 Bytes = 3;
inline constexpr quint32 Number = 4;
} // namespace RegistryKind

// Opens the key `subKey` below an open key or the local-machine hive. `options` must be 0.
// NotFound when there is no hive file or no such key, AccessDenied when the hive file
// cannot be read or write rights are asked on a hive file the user cannot write.
long RegOpenKeyExA(HKEY root, const QString &subKey, quint32 options, quint32 access, HKEY *result);

// Reads the value `valueName` of an open key (the key's default value when empty): its
// kind, and its data into `data`, of `*dataSize` bytes. A text's data ends in a zero byte.
// `*dataSize` comes back as the data's size; MoreData when the data does not fit, with
// nothing copied. `data` may be null to ask for the size only.
long RegQueryValueExA(HKEY key, const QString &valueName, quint32 *kind, unsigned char *data,
                      quint32 *dataSize);

// Closes an open key; InvalidHandle when `key` is not one.
long RegCloseKey(HKEY key);
