#pragma once

// Where the running Velquor answers on the session bus.
namespace velquor::shell {

inline constexpr char serviceName[] = "org.velquor.Velquor";
inline constexpr char objectPath[] = "/org/velquor/Velquor";
inline constexpr char interfaceName[] = "org.velquor.Velquor1";

inline constexpr char noReadableTextError[] = "org.velquor.Velquor1.Error.NoReadableText";
inline constexpr char couldNotReturnError[] = "org.velquor.Velquor1.Error.CouldNotReturn";

}  // namespace velquor::shell
