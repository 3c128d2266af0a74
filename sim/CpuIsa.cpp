#include "sim/CpuIsa.h"

#include <initializer_list>

bool CpuIsaSupported(CpuIsa isa)
{
    switch (isa) {
    case CpuIsa::Scalar:
        return true;
#if defined(EDDYRA_X86_KERNELS)
    case CpuIsa::Avx2:
        return __builtin_cpu_supports("avx2");
    case CpuIsa::Avx512:
        return __builtin_cpu_supports("avx512f");
#else
    case CpuIsa::Avx2:
    case CpuIsa::Avx512:
        return false;
#endif
    }
    return false;
}

CpuIsa BestCpuIsa()
{
    for (CpuIsa isa : {CpuIsa::Avx512, CpuIsa::Avx2})
        if (CpuIsaSupported(isa))
            return isa;
    return CpuIsa::Scalar;
}

const char* CpuIsaName(CpuIsa isa)
{
    switch (isa) {
    case CpuIsa::Scalar:
        return "scalar";
    case CpuIsa::Avx2:
        return "avx2";
    case CpuIsa::Avx512:
        return "avx512";
    }
    return "?";
}
