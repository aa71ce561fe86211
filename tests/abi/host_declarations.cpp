// The exported functions as the host declares them: free C++ functions with
// the C calling convention and the framework's date-time class. Compiled for
// the Microsoft ABI, it yields the decorated export names the .def files must
// hold (see check_def_names.sh).
namespace ATL {
class COleDateTime;
}
using ATL::COleDateTime;
typedef const char* T;

int __cdecl GetNumberOfSets(void) { return 1; }
const char* __cdecl GetSetName(int) { return ""; }
unsigned long __cdecl setVersion(const char*) { return 0; }
void __cdecl SetupSet0(void) {}
int __cdecl StatsGetExchgCount0(T, T, T) { return 1; }
int __cdecl StatsIsValidExchg0(T, T, T, T, int, int, int) { return 0; }
int __cdecl ResetStats0(T, int, T, COleDateTime*, COleDateTime*, T, T, T, T, T, T, T, T, T, T, int, int, int,
                        double, double, T, T, T) {
    return 1;
}
int __cdecl AddData0(T, T, COleDateTime*, COleDateTime*, COleDateTime*, COleDateTime*, unsigned int, unsigned int,
                     T, T, T, T, T, T, T, T, T, T, T, T, T, T, T, int, int, int, double, double, T, T, T, T, T) {
    return 0;
}
int __cdecl RemoveData0(T, T, COleDateTime*, COleDateTime*, COleDateTime*, COleDateTime*, unsigned int,
                        unsigned int, T, T, T, T, T, T, T, T, T, T, T, T, T, T, T, int, int, int, double, double,
                        T, T, T, T, T) {
    return 1;
}
int __cdecl CheckCallFunc0(T, unsigned int, unsigned int, T, T, T, T, T, T, T, T, T, T, T, int, int, int, double,
                           double, T, T, T, T, T, T, T, char*, char*) {
    return 2;
}
const char* __cdecl GetResult0(int*) { return ""; }
