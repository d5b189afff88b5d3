// Sha256Rounds.S: the SHA-256 compression function (FIPS 180-4, 6.2.2) for
// processors with SSSE3 but without the SHA instructions, in 32-bit and
// 64-bit x86, assembled for ELF (Linux) and PE/COFF (MinGW-w64) alike.
//
// Each routine runs the compression function over count 64-byte blocks for
// one state and, where second is not null, for a second state over the same
// blocks (the file's digest and a piece's, Sha256::addToBoth):
//
//   void parcelor_sha256_ssse3_bmi2(uint32_t first[8], uint32_t* second,
//                                   const unsigned char* blocks, size_t count,
//                                   const ScheduleTables* tables);
//   void parcelor_sha256_ssse3(...)              (the same without BMI)
//   void parcelor_sha256_avx2_bmi2(...)          (the same; 64-bit only)
//
// count is at least 1; tables holds the round constants and the byte masks
// (Sha256.cpp). The message schedule (step 1) runs in vector registers, four
// words at a time, beside the rounds of the first state (steps 2 to 4) in
// scalar ones; its words plus the round constants go to a buffer on the
// stack, where the rounds read them, and the second state's rounds read
// them again. SSSE3 schedules one block at a time; AVX2 two, one in each
// 128-bit half of its registers, their rounds running one block after the
// other. The rounds use BMI2's rotations and BMI1's and-not, which leave
// their sources intact; without them, each Sigma comes from rotated
// copies, and Ch takes the form that needs no and-not. One macro holds both
// kinds of round, chosen by .Lbmi as each routine is assembled.
//
// 32-bit x86 has seven registers for the rounds: a and e stay in registers,
// and the other working variables, each the a or e of an earlier round, are
// read from small rings in memory where each round leaves its a and e.
// 64-bit x86 keeps all eight in registers and renames them from round to
// round, and runs sixteen rounds of code in loops: fully unrolled, the 64
// rounds overflow the processor's cache of decoded instructions, and the
// decoders, not the arithmetic, set the pace.

#if defined(__i386__) || defined(__x86_64__)

// C's names: with a leading underscore on 32-bit Windows.
#if defined(__i386__) && defined(_WIN32)
#define SYMBOL(name) _##name
#else
#define SYMBOL(name) name
#endif

#if defined(__ELF__)
#define BEGIN_FUNCTION(name)                                                                                           \
    .globl SYMBOL(name);                                                                                               \
    .hidden SYMBOL(name);                                                                                              \
    .type SYMBOL(name), @function;                                                                                     \
    .p2align 5;                                                                                                        \
    SYMBOL(name):
#define END_FUNCTION(name) .size SYMBOL(name), .- SYMBOL(name)
#else
#define BEGIN_FUNCTION(name)                                                                                           \
    .globl SYMBOL(name);                                                                                               \
    .def SYMBOL(name);                                                                                                 \
    .scl 2;                                                                                                            \
    .type 32;                                                                                                          \
    .endef;                                                                                                            \
    .p2align 5;                                                                                                        \
    SYMBOL(name):
#define END_FUNCTION(name)
#endif

// The stack frame, 32-byte aligned, from FRAME_BASE (%esp in 32 bits, %rbp in 64).
#define A_RING 0             // 32 bits: a of round t at A_RING + 4 (t % 4)
#define E_RING 16            //   and e at E_RING + 4 (t % 4)
#define WK 32                // W[t] + K[t]: round t at WK + 32 (t / 4) + 4 (t % 4), a second block 16 further
#define TABLES 544           // a copy of the tables
#define K_ROWS TABLES        //   K[4g ... 4g + 3] twice at K_ROWS + 32 g
#define BYTE_SWAP (TABLES + 512) // the masks, each for both halves of an AVX2 register: big-endian words
#define LOW_PAIR (TABLES + 544)  //   words 0 and 2 to words 0 and 1, the others cleared
#define HIGH_PAIR (TABLES + 576) //   words 0 and 2 to words 2 and 3, the others cleared
#define TABLES_SIZE 608
#define FIRST 1152           // the arguments, and where the blocks stand
#define SECOND 1160
#define BLOCKS 1168
#define END 1176
#define PAIR 1184            // AVX2: whether two blocks are scheduled (else one, twice)
#define SAVED_SP 1192        // 32 bits: the stack pointer on entry
#define ROWS_END 1200        // 64 bits: where the rows of a loop of rounds end
#define FRAME 1216

#if defined(__i386__)
#define FRAME_BASE %esp
#else
#define FRAME_BASE %rbp
#endif
#if defined(__i386__)
#define WK_ROW(g) WK + 32 * (g)(FRAME_BASE)
#define K_ROW(g) K_ROWS + 32 * (g)(FRAME_BASE)
#else // relative to %r15, which stands at the rows of the rounds in hand
#define WK_ROW(g) 32 * (g)(%r15)
#define K_ROW(g) K_ROWS - WK + 32 * (g)(%r15)
#endif
#define LOW_PAIR_MASK LOW_PAIR(FRAME_BASE)
#define HIGH_PAIR_MASK HIGH_PAIR(FRAME_BASE)
#define BYTE_SWAP_MASK BYTE_SWAP(FRAME_BASE)

// The message schedule, 6.2.2 step 1, for t = 4g ... 4g + 3:
//   W[t] = sigma1(W[t-2]) + W[t-7] + sigma0(W[t-15]) + W[t-16]
// x0 holds W[t-16 ... t-13] and becomes W[t ... t+3]; x1, x2 and x3 hold the
// twelve words after it. The rotations are built from shifts: sigma0 of four
// words from five, sigma1 of two words at a time from 64-bit shifts of each
// word paired with itself, whose low halves are the rotations. Part 3 stores
// the words plus their round constants for the rounds 16 ahead. Temporaries
// in registers 4 to 7.
.macro SCHEDULE part, kind, x0, x1, x2, x3, g
.if \kind == 1 // SSSE3, one block
    .if \part == 0
    movdqa  \x1, %xmm4
    palignr $4, \x0, %xmm4          // W[t-15 ... t-12]
    movdqa  \x3, %xmm5
    palignr $4, \x2, %xmm5          // W[t-7 ... t-4]
    paddd   %xmm5, \x0
    movdqa  %xmm4, %xmm5
    psrld   $3, %xmm5
    movdqa  %xmm4, %xmm6
    .elseif \part == 1
    psrld   $7, %xmm6
    pxor    %xmm6, %xmm5
    psrld   $11, %xmm6
    pxor    %xmm6, %xmm5
    pslld   $14, %xmm4
    pxor    %xmm4, %xmm5
    pslld   $11, %xmm4
    pxor    %xmm4, %xmm5            // sigma0(W[t-15]): ror 7 ^ ror 18 ^ shr 3
    paddd   %xmm5, \x0
    .elseif \part == 2
    pshufd  $0xfa, \x3, %xmm4       // W[t-2] twice, W[t-1] twice
    movdqa  %xmm4, %xmm5
    psrld   $10, %xmm5
    psrlq   $17, %xmm4
    pxor    %xmm4, %xmm5
    psrlq   $2, %xmm4
    pxor    %xmm4, %xmm5            // sigma1: ror 17 ^ ror 19 ^ shr 10, in words 0 and 2
    pshufb  LOW_PAIR_MASK, %xmm5
    paddd   %xmm5, \x0              // W[t], W[t+1] done
    .else
    pshufd  $0x50, \x0, %xmm4       // W[t] twice, W[t+1] twice
    movdqa  %xmm4, %xmm5
    psrld   $10, %xmm5
    psrlq   $17, %xmm4
    pxor    %xmm4, %xmm5
    psrlq   $2, %xmm4
    pxor    %xmm4, %xmm5
    pshufb  HIGH_PAIR_MASK, %xmm5
    paddd   %xmm5, \x0              // W[t+2], W[t+3] done
    movdqa  \x0, %xmm4
    paddd   K_ROW(\g), %xmm4
    movdqa  %xmm4, WK_ROW(\g)
    .endif
.elseif \kind == 2 // AVX2, two blocks
    .if \part == 0
    vpalignr $4, \x0, \x1, %ymm4    // W[t-15 ... t-12]
    vpalignr $4, \x2, \x3, %ymm5    // W[t-7 ... t-4]
    vpaddd  %ymm5, \x0, \x0
    vpsrld  $3, %ymm4, %ymm5
    vpsrld  $7, %ymm4, %ymm6
    vpslld  $14, %ymm4, %ymm7
    .elseif \part == 1
    vpxor   %ymm6, %ymm5, %ymm5
    vpsrld  $18, %ymm4, %ymm6
    vpxor   %ymm7, %ymm5, %ymm5
    vpslld  $25, %ymm4, %ymm7
    vpxor   %ymm6, %ymm5, %ymm5
    vpxor   %ymm7, %ymm5, %ymm5     // sigma0(W[t-15])
    vpaddd  %ymm5, \x0, \x0
    .elseif \part == 2
    vpshufd $0xfa, \x3, %ymm4       // W[t-2] twice, W[t-1] twice
    vpsrld  $10, %ymm4, %ymm5
    vpsrlq  $17, %ymm4, %ymm6
    vpsrlq  $19, %ymm4, %ymm7
    vpxor   %ymm6, %ymm5, %ymm5
    vpxor   %ymm7, %ymm5, %ymm5     // sigma1, in words 0 and 2 of each half
    vpshufb LOW_PAIR_MASK, %ymm5, %ymm5
    vpaddd  %ymm5, \x0, \x0         // W[t], W[t+1] done
    .else
    vpshufd $0x50, \x0, %ymm4       // W[t] twice, W[t+1] twice
    vpsrld  $10, %ymm4, %ymm5
    vpsrlq  $17, %ymm4, %ymm6
    vpsrlq  $19, %ymm4, %ymm7
    vpxor   %ymm6, %ymm5, %ymm5
    vpxor   %ymm7, %ymm5, %ymm5
    vpshufb HIGH_PAIR_MASK, %ymm5, %ymm5
    vpaddd  %ymm5, \x0, \x0         // W[t+2], W[t+3] done
    vpaddd  K_ROW(\g), \x0, %ymm4
    vmovdqu %ymm4, WK_ROW(\g)
    .endif
.endif
.endm

// The tables at the pointer in from to the frame at frame; index counts.
.macro COPY_TABLES from, frame, index
    xor     \index, \index
1:  movdqu  (\from, \index), %xmm0
    movdqa  %xmm0, TABLES(\frame, \index)
    add     $16, \index
    cmp     $TABLES_SIZE, \index
    jne     1b
.endm

// W[0 ... 15] of the block at ptr into registers 0 to 3, and plus their
// round constants to the buffer: with AVX2 the block at ptr2 in the upper halves.
.macro LOAD_WORDS kind, g, x, ptr, ptr2
.if \kind == 1
    movdqu  16 * \g(\ptr), \x
    pshufb  BYTE_SWAP_MASK, \x
    movdqa  \x, %xmm4
    paddd   K_ROW(\g), %xmm4
    movdqa  %xmm4, WK_ROW(\g)
.else
    vmovdqu 16 * \g(\ptr), %xmm4
    vinserti128 $1, 16 * \g(\ptr2), %ymm4, \x
    vpshufb BYTE_SWAP_MASK, \x, \x
    vpaddd  K_ROW(\g), \x, %ymm4
    vmovdqu %ymm4, WK_ROW(\g)
.endif
.endm
.macro LOAD_BLOCKS kind, ptr, ptr2, r0, r1, r2, r3
    LOAD_WORDS \kind, 0, \r0, \ptr, \ptr2
    LOAD_WORDS \kind, 1, \r1, \ptr, \ptr2
    LOAD_WORDS \kind, 2, \r2, \ptr, \ptr2
    LOAD_WORDS \kind, 3, \r3, \ptr, \ptr2
.endm

#if defined(__i386__)

// The a and the e that round t found, in the rings: round t reads its b, c
// and d at A_SLOT(t-1), A_SLOT(t-2), A_SLOT(t-3), and f, g, h at E_SLOT(t-1), E_SLOT(t-2), E_SLOT(t-3).
#define A_SLOT(t) A_RING + 4 * ((t) & 3)(%esp)
#define E_SLOT(t) E_RING + 4 * ((t) & 3)(%esp)
#define WK_AT(t) WK + 32 * ((t) >> 2) + 4 * ((t) & 3)(%esp)

// Round t, 6.2.2 step 3:
//   T1 = h + Sigma1(e) + Ch(e, f, g) + K[t] + W[t]
//   T2 = Sigma0(a) + Maj(a, b, c)
//   h = g, g = f, f = e, e = d + T1, d = c, c = b, b = a, a = T1 + T2
// a in ra, e in %esi, b ^ c in rbc; the new a goes to rt and a ^ b, the next
// round's b ^ c, to rab, so the next round swaps ra with rt and rab with rbc.
// Temporaries %edi and %ebp.
.macro ROUND t, ra, rt, rab, rbc
    movl    E_SLOT((\t)-3), \rt          // h
    addl    WK_AT(\t), \rt          // + K[t] + W[t]
.if .Lbmi
    andn    E_SLOT((\t)-2), %esi, %edi   // ~e & g
    rorx    $6, %esi, %ebp
    addl    %edi, \rt
    movl    E_SLOT((\t)-1), %edi
    andl    %esi, %edi              // e & f: with ~e & g, no bit in common, their sum is Ch(e, f, g)
    addl    %edi, \rt
    rorx    $11, %esi, %edi
    xorl    %edi, %ebp
    rorx    $25, %esi, %edi
    xorl    %edi, %ebp              // Sigma1(e)
    movl    %esi, E_SLOT(\t)
    addl    %ebp, \rt               // T1
    movl    A_SLOT((\t)-3), %esi
    addl    \rt, %esi               // e = d + T1
    rorx    $2, \ra, %edi
    rorx    $13, \ra, %ebp
    xorl    %ebp, %edi
    rorx    $22, \ra, %ebp
    xorl    %ebp, %edi              // Sigma0(a)
    addl    %edi, \rt
    movl    \ra, \rab
    xorl    A_SLOT((\t)-1), \rab         // a ^ b
    andl    \rab, \rbc
    xorl    A_SLOT((\t)-1), \rbc         // Maj(a, b, c) = ((a ^ b) & (b ^ c)) ^ b
    addl    \rbc, \rt               // a = T1 + T2
    movl    \ra, A_SLOT(\t)
.else
    // Without BMI: each Sigma nested, as rotations of one copy, and Ch as
    // ((f ^ g) & e) ^ g, to keep the instructions few (three copies of e
    // and of a, as the 64-bit round has them, measured 10 % slower here).
    movl    E_SLOT((\t)-1), %edi         // f
    movl    %esi, %ebp
    xorl    E_SLOT((\t)-2), %edi         // f ^ g
    rorl    $14, %ebp
    andl    %esi, %edi
    xorl    %esi, %ebp
    xorl    E_SLOT((\t)-2), %edi         // Ch(e, f, g)
    rorl    $5, %ebp
    addl    %edi, \rt
    xorl    %esi, %ebp
    movl    %esi, E_SLOT(\t)
    rorl    $6, %ebp                // Sigma1(e) = ror 6 (e ^ ror 5 (e ^ ror 14 e))
    addl    %ebp, \rt               // T1
    movl    A_SLOT((\t)-3), %esi
    addl    \rt, %esi               // e = d + T1
    movl    \ra, %edi
    rorl    $9, %edi
    xorl    \ra, %edi
    rorl    $11, %edi
    xorl    \ra, %edi
    rorl    $2, %edi                // Sigma0(a) = ror 2 (a ^ ror 11 (a ^ ror 9 a))
    addl    %edi, \rt
    movl    \ra, \rab
    xorl    A_SLOT((\t)-1), \rab         // a ^ b
    andl    \rab, \rbc
    xorl    A_SLOT((\t)-1), \rbc         // Maj(a, b, c)
    addl    \rbc, \rt               // a = T1 + T2
    movl    \ra, A_SLOT(\t)
.endif
.endm

// Rounds t ... t + 3, with part of the schedule of group t / 4 + 4 before each.
.macro FOUR_ROUNDS t, kind, x0, x1, x2, x3
    SCHEDULE 0, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t), %eax, %ebx, %ecx, %edx
    SCHEDULE 1, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t)+1, %ebx, %eax, %edx, %ecx
    SCHEDULE 2, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t)+2, %eax, %ebx, %ecx, %edx
    SCHEDULE 3, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t)+3, %ebx, %eax, %edx, %ecx
.endm

// The 64 rounds, rounds 0 ... 47 computing the words of rounds 16 ... 63
// beside them (kind 1), or reading all from the buffer (kind 0).
.macro SIXTY_FOUR_ROUNDS kind
    .set .Lt, 0
    .rept 3
    FOUR_ROUNDS .Lt, \kind, %xmm0, %xmm1, %xmm2, %xmm3
    FOUR_ROUNDS .Lt+4, \kind, %xmm1, %xmm2, %xmm3, %xmm0
    FOUR_ROUNDS .Lt+8, \kind, %xmm2, %xmm3, %xmm0, %xmm1
    FOUR_ROUNDS .Lt+12, \kind, %xmm3, %xmm0, %xmm1, %xmm2
    .set .Lt, .Lt+16
    .endr
    .rept 4
    FOUR_ROUNDS .Lt, 0
    .set .Lt, .Lt+4
    .endr
.endm

// The state at the pointer in slot into the registers and rings as round 0
// finds them. Temporaries %ecx and %edi.
.macro LOAD_STATE slot
    movl    \slot(%esp), %edi
    movl    0(%edi), %eax
    movl    4(%edi), %ecx
    movl    %ecx, A_SLOT(-1)
    movl    8(%edi), %edx
    movl    %edx, A_SLOT(-2)
    xorl    %ecx, %edx              // b ^ c
    movl    12(%edi), %ecx
    movl    %ecx, A_SLOT(-3)
    movl    16(%edi), %esi
    movl    20(%edi), %ecx
    movl    %ecx, E_SLOT(-1)
    movl    24(%edi), %ecx
    movl    %ecx, E_SLOT(-2)
    movl    28(%edi), %ecx
    movl    %ecx, E_SLOT(-3)
.endm

// 6.2.2 step 4: the working variables after round 63 added to the state at
// the pointer in slot, the sums left where round 0 of the next block finds
// them (round 64 reads the rings as round 0 does).
.macro ADD_STATE slot
    movl    \slot(%esp), %edi
    addl    0(%edi), %eax
    movl    %eax, 0(%edi)
    movl    A_SLOT(-1), %ecx
    addl    4(%edi), %ecx
    movl    %ecx, 4(%edi)
    movl    %ecx, A_SLOT(-1)
    movl    A_SLOT(-2), %edx
    addl    8(%edi), %edx
    movl    %edx, 8(%edi)
    movl    %edx, A_SLOT(-2)
    xorl    %ecx, %edx              // b ^ c
    movl    A_SLOT(-3), %ecx
    addl    12(%edi), %ecx
    movl    %ecx, 12(%edi)
    movl    %ecx, A_SLOT(-3)
    addl    16(%edi), %esi
    movl    %esi, 16(%edi)
    .irp k, 1, 2, 3
    movl    E_SLOT(-\k), %ecx
    addl    16 + 4 * \k(%edi), %ecx
    movl    %ecx, 16 + 4 * \k(%edi)
    movl    %ecx, E_SLOT(-\k)
    .endr
.endm

// The routine's body: with BMI's instructions (bmi 1) or without (0).
.macro SSSE3_ROUTINE bmi
    .set    .Lbmi, \bmi
    pushl   %ebp
    pushl   %ebx
    pushl   %esi
    pushl   %edi
    movl    %esp, %eax              // the arguments from 20(%eax)
    subl    $FRAME, %esp
    andl    $-32, %esp
    movl    %eax, SAVED_SP(%esp)
    movl    36(%eax), %ecx
    COPY_TABLES %ecx, %esp, %edx
    movl    20(%eax), %ecx
    movl    %ecx, FIRST(%esp)
    movl    24(%eax), %ecx
    movl    %ecx, SECOND(%esp)
    movl    28(%eax), %ecx
    movl    %ecx, BLOCKS(%esp)
    movl    32(%eax), %edx
    shll    $6, %edx
    addl    %ecx, %edx
    movl    %edx, END(%esp)
    LOAD_STATE FIRST
2:  movl    BLOCKS(%esp), %edi
    LOAD_BLOCKS 1, %edi, %edi, %xmm0, %xmm1, %xmm2, %xmm3
    SIXTY_FOUR_ROUNDS 1
    ADD_STATE FIRST
    cmpl    $0, SECOND(%esp)
    je      3f
    LOAD_STATE SECOND
    SIXTY_FOUR_ROUNDS 0
    ADD_STATE SECOND
    LOAD_STATE FIRST
3:  movl    BLOCKS(%esp), %edi
    addl    $64, %edi
    movl    %edi, BLOCKS(%esp)
    cmpl    END(%esp), %edi
    jne     2b
    movl    SAVED_SP(%esp), %esp
    popl    %edi
    popl    %esi
    popl    %ebx
    popl    %ebp
    ret
.endm

    .text
BEGIN_FUNCTION(parcelor_sha256_ssse3_bmi2)
    SSSE3_ROUTINE 1
END_FUNCTION(parcelor_sha256_ssse3_bmi2)

BEGIN_FUNCTION(parcelor_sha256_ssse3)
    SSSE3_ROUTINE 0
END_FUNCTION(parcelor_sha256_ssse3)

#else // __x86_64__

#define WK_AT(t, base) 32 * ((t) >> 2) + 4 * ((t) & 3)(base) // base: the buffer, or its second block
// Windows x64 unwinds the stack by tables: the prologue describes itself.
#if defined(_WIN64)
#define WINDOWS_UNWIND 1
#else
#define WINDOWS_UNWIND 0
#endif
.macro SEH directive:vararg
.if WINDOWS_UNWIND
    \directive
.endif
.endm

// Round t (see the 32-bit round above) on the working variables in the
// registers named, the words read from base: T1 accumulates in h, which
// becomes the new a, and d becomes the new e; the next round renames.
// b ^ c in bc, a ^ b to ab. Sigma0(a) is left in %r14d and added to the
// new a at the start of the next round (after round 63, by ADD_STATE), which
// keeps the round short for the processor's schedulers: the last round's
// Sigma0 is 0 before round 0. Temporaries %esi, %edi and %r14d.
.macro ROUND t, base, a, b, c, d, e, f, g, h, ab, bc
    addl    WK_AT(\t, \base), \h    // h + K[t] + W[t]
.if .Lbmi
    movl    \f, %esi
    rorx    $25, \e, %edi
    leal    (\a, %r14d), \a         // the last round's Sigma0
    andl    \e, %esi                // e & f
    rorx    $11, \e, %r14d
    leal    (\h, %esi), \h
    andn    \g, \e, %esi            // ~e & g
    xorl    %r14d, %edi
    rorx    $6, \e, %r14d
    leal    (\h, %esi), \h          // + Ch(e, f, g)
    xorl    %r14d, %edi             // Sigma1(e)
    movl    \a, \ab
    rorx    $22, \a, %esi
    leal    (\h, %edi), \h          // T1
    xorl    \b, \ab                 // a ^ b
    rorx    $13, \a, %r14d
    rorx    $2, \a, %edi
    leal    (\d, \h), \d            // e = d + T1
    andl    \ab, \bc
    xorl    %esi, %r14d
    xorl    \b, \bc                 // Maj(a, b, c)
    xorl    %edi, %r14d             // Sigma0(a)
    leal    (\h, \bc), \h           // a = T1 + T2, but for Sigma0(a)
.else
    // Without BMI: each Sigma from three copies, each rotated once, which
    // keeps the chain from e to e as short as rorx does (rotations of one
    // copy in turn, as the 32-bit round has them, measured 10 % slower
    // here), and Ch as ((f ^ g) & e) ^ g.
    leal    (\a, %r14d), \a         // the last round's Sigma0
    movl    \e, %edi
    rorl    $6, %edi
    movl    \f, %esi
    movl    \e, %r14d
    xorl    \g, %esi
    rorl    $11, %r14d
    andl    \e, %esi
    xorl    %r14d, %edi
    movl    \e, %r14d
    xorl    \g, %esi                // Ch(e, f, g)
    rorl    $25, %r14d
    leal    (\h, %esi), \h
    xorl    %r14d, %edi             // Sigma1(e)
    movl    \a, %r14d
    leal    (\h, %edi), \h          // T1
    rorl    $2, %r14d
    movl    \a, %esi
    movl    \a, \ab
    rorl    $13, %esi
    xorl    \b, \ab                 // a ^ b
    xorl    %esi, %r14d
    leal    (\d, \h), \d            // e = d + T1
    movl    \a, %esi
    andl    \ab, \bc
    rorl    $22, %esi
    xorl    \b, \bc                 // Maj(a, b, c)
    xorl    %esi, %r14d             // Sigma0(a)
    leal    (\h, \bc), \h           // a = T1 + T2, but for Sigma0(a)
.endif
.endm

// Rounds t ... t + 3 (t a multiple of 4), part of the schedule of group
// t / 4 + 4 before each; a ... h in the registers named, as round t finds them.
.macro FOUR_ROUNDS t, base, kind, x0, x1, x2, x3, a, b, c, d, e, f, g, h
    SCHEDULE 0, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t), \base, \a, \b, \c, \d, \e, \f, \g, \h, %r12d, %r13d
    SCHEDULE 1, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t)+1, \base, \h, \a, \b, \c, \d, \e, \f, \g, %r13d, %r12d
    SCHEDULE 2, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t)+2, \base, \g, \h, \a, \b, \c, \d, \e, \f, %r12d, %r13d
    SCHEDULE 3, \kind, \x0, \x1, \x2, \x3, (\t)/4+4
    ROUND   (\t)+3, \base, \f, \g, \h, \a, \b, \c, \d, \e, %r13d, %r12d
.endm

// Rounds t ... t + 7 (t a multiple of 8): a ... h start in %eax, %ebx,
// %ecx, %edx, %r8d ... %r11d, and are there again after them.
.macro EIGHT_ROUNDS t, base, kind, x0, x1, x2, x3, y0, y1, y2, y3
    FOUR_ROUNDS (\t), \base, \kind, \x0, \x1, \x2, \x3, %eax, %ebx, %ecx, %edx, %r8d, %r9d, %r10d, %r11d
    FOUR_ROUNDS (\t)+4, \base, \kind, \y0, \y1, \y2, \y3, %r8d, %r9d, %r10d, %r11d, %eax, %ebx, %ecx, %edx
.endm

// Sixteen rounds from the rows at %r15, computing the words of the sixteen
// after them beside them in the registers %\r\()0 to 7 (kind 1, SSSE3 in
// xmm; kind 2, AVX2 in ymm), or none (kind 0). The code stays small enough
// for the processor's decoded-instruction cache: the 64 rounds run it in loops.
.macro SIXTEEN_ROUNDS kind, r=xmm
    EIGHT_ROUNDS 0, %r15, \kind, %\r\()0, %\r\()1, %\r\()2, %\r\()3, %\r\()1, %\r\()2, %\r\()3, %\r\()0
    EIGHT_ROUNDS 8, %r15, \kind, %\r\()2, %\r\()3, %\r\()0, %\r\()1, %\r\()3, %\r\()0, %\r\()1, %\r\()2
.endm

// The 64 rounds of a block whose first words LOAD_BLOCKS left in the
// registers and the rows at %r15: rounds 0 ... 47 computing the words of
// rounds 16 ... 63 beside them, then the last sixteen from the rows.
.macro SIXTY_FOUR_ROUNDS kind, r=xmm
    leaq    384(%r15), %rsi
    movq    %rsi, ROWS_END(%rbp)
1:  SIXTEEN_ROUNDS \kind, \r
    addq    $128, %r15
    cmpq    ROWS_END(%rbp), %r15
    jne     1b
    leaq    128(%r15), %rsi
    movq    %rsi, ROWS_END(%rbp)
    CALL_ROUNDS_FROM_BUFFER
.endm

// The state at the pointer in slot into the registers as round 0 finds them.
.macro LOAD_STATE slot
    movq    \slot(%rbp), %rdi
    movl    0(%rdi), %eax
    movl    4(%rdi), %ebx
    movl    8(%rdi), %ecx
    movl    12(%rdi), %edx
    movl    16(%rdi), %r8d
    movl    20(%rdi), %r9d
    movl    24(%rdi), %r10d
    movl    28(%rdi), %r11d
    movl    %ebx, %r13d
    xorl    %ecx, %r13d             // b ^ c
    xorl    %r14d, %r14d
.endm

// 6.2.2 step 4: the working variables after round 63 added to the state at
// the pointer in slot, the sums left where round 0 of the next block finds them.
.macro ADD_STATE slot
    movq    \slot(%rbp), %rdi
    addl    %r14d, %eax
    xorl    %r14d, %r14d
    .irp r, %eax, %ebx, %ecx, %edx, %r8d, %r9d, %r10d, %r11d
    addl    (%rdi), \r
    movl    \r, (%rdi)
    addq    $4, %rdi
    .endr
    movl    %ebx, %r13d
    xorl    %ecx, %r13d             // b ^ c
.endm

// The first four arguments, in the registers the system's convention
// puts them in, to the frame's slots, the count as the blocks' end.
.macro STORE_ARGUMENTS first, second, blocks, count
    movq    \first, FIRST(%rbp)
    movq    \second, SECOND(%rbp)
    movq    \blocks, BLOCKS(%rbp)
    shlq    $6, \count
    addq    \blocks, \count
    movq    \count, END(%rbp)
.endm

// Saves what the caller keeps (Windows: also %xmm6 and %xmm7), and sets
// %rbp to the 32-byte aligned frame; the arguments to the frame's slots
// and the tables to the frame. The stack pointer is 8 past a multiple of
// 16 on entry and after the pushes; FRAME + 72 makes it a multiple.
.macro PROLOGUE name
    SEH .seh_proc SYMBOL(\name)
    .irp r, %rbx, %rbp, %rsi, %rdi, %r12, %r13, %r14, %r15
    pushq   \r
    SEH .seh_pushreg \r
    .endr
    subq    $FRAME + 72, %rsp
    SEH .seh_stackalloc FRAME + 72
#if defined(_WIN64)
    movdqa  %xmm6, 0(%rsp)
    SEH .seh_savexmm %xmm6, 0
    movdqa  %xmm7, 16(%rsp)
    SEH .seh_savexmm %xmm7, 16
#endif
    SEH .seh_endprologue
    leaq    63(%rsp), %rbp
    andq    $-32, %rbp
#if defined(_WIN64) // the tables' pointer on the stack, past the home of the other four
    movq    FRAME + 72 + 64 + 40(%rsp), %rax
    STORE_ARGUMENTS %rcx, %rdx, %r8, %r9
#else
    movq    %r8, %rax
    STORE_ARGUMENTS %rdi, %rsi, %rdx, %rcx
#endif
    COPY_TABLES %rax, %rbp, %rdx
.endm

.macro EPILOGUE
#if defined(_WIN64)
    movdqa  0(%rsp), %xmm6
    movdqa  16(%rsp), %xmm7
#endif
    addq    $FRAME + 72, %rsp
    .irp r, %r15, %r14, %r13, %r12, %rdi, %rsi, %rbp, %rbx
    popq    \r
    .endr
    ret
    SEH .seh_endproc
.endm

// The rounds from the rows (below), in the version the routine being
// assembled may use.
.macro CALL_ROUNDS_FROM_BUFFER
.if .Lbmi
    call    parcelor_sha256_rounds_from_buffer
.else
    call    parcelor_sha256_rounds_from_buffer_plain
.endif
.endm

// The 64 rounds of the block whose rows start at offset in the frame, on
// the working variables in the registers.
.macro BLOCK_FROM_BUFFER offset
    leaq    \offset(%rbp), %r15
    leaq    512(%r15), %rsi
    movq    %rsi, ROWS_END(%rbp)
    CALL_ROUNDS_FROM_BUFFER
.endm

// The rounds of the state at the pointer in slot over the block whose rows
// start at offset: a second state over words already in the buffer.
.macro ROUNDS_FROM_BUFFER slot, offset
    LOAD_STATE \slot
    BLOCK_FROM_BUFFER \offset
    ADD_STATE \slot
.endm

// The routine's body: with BMI's instructions (bmi 1) or without (0).
.macro SSSE3_ROUTINE name, bmi
    .set    .Lbmi, \bmi
    PROLOGUE \name
    LOAD_STATE FIRST
2:  movq    BLOCKS(%rbp), %rdi
    leaq    WK(%rbp), %r15
    LOAD_BLOCKS 1, %rdi, %rdi, %xmm0, %xmm1, %xmm2, %xmm3
    SIXTY_FOUR_ROUNDS 1
    ADD_STATE FIRST
    cmpq    $0, SECOND(%rbp)
    je      3f
    ROUNDS_FROM_BUFFER SECOND, WK
    LOAD_STATE FIRST
3:  movq    BLOCKS(%rbp), %rdi
    addq    $64, %rdi
    movq    %rdi, BLOCKS(%rbp)
    cmpq    END(%rbp), %rdi
    jne     2b
    EPILOGUE
.endm

    .text
BEGIN_FUNCTION(parcelor_sha256_ssse3_bmi2)
    SSSE3_ROUTINE parcelor_sha256_ssse3_bmi2, 1
END_FUNCTION(parcelor_sha256_ssse3_bmi2)

BEGIN_FUNCTION(parcelor_sha256_ssse3)
    SSSE3_ROUTINE parcelor_sha256_ssse3, 0
END_FUNCTION(parcelor_sha256_ssse3)

// Two blocks at a time; the last block of an odd count is scheduled twice
// and its second copy left unused.
BEGIN_FUNCTION(parcelor_sha256_avx2_bmi2)
    .set    .Lbmi, 1
    PROLOGUE parcelor_sha256_avx2_bmi2
    LOAD_STATE FIRST
2:  movq    BLOCKS(%rbp), %rdi
    leaq    64(%rdi), %rsi
    xorl    %r14d, %r14d
    cmpq    END(%rbp), %rsi
    cmoveq  %rdi, %rsi
    setne   %r14b
    movq    %r14, PAIR(%rbp)
    xorl    %r14d, %r14d            // no Sigma0 pending before round 0
    leaq    WK(%rbp), %r15
    LOAD_BLOCKS 2, %rdi, %rsi, %ymm0, %ymm1, %ymm2, %ymm3
    SIXTY_FOUR_ROUNDS 2, ymm
    ADD_STATE FIRST
    cmpq    $0, PAIR(%rbp)
    je      3f
    BLOCK_FROM_BUFFER WK+16
    ADD_STATE FIRST
3:  cmpq    $0, SECOND(%rbp)
    je      4f
    ROUNDS_FROM_BUFFER SECOND, WK
    cmpq    $0, PAIR(%rbp)
    je      5f
    BLOCK_FROM_BUFFER WK+16
    ADD_STATE SECOND
5:  LOAD_STATE FIRST
4:  movq    BLOCKS(%rbp), %rdi
    movq    PAIR(%rbp), %rsi
    shlq    $6, %rsi
    leaq    64(%rdi, %rsi), %rdi
    movq    %rdi, BLOCKS(%rbp)
    cmpq    END(%rbp), %rdi
    jne     2b
    vzeroupper
    EPILOGUE
END_FUNCTION(parcelor_sha256_avx2_bmi2)

// Rounds on the registers as the last round (or LOAD_STATE) left them,
// sixteen at a time, from the rows at %r15 (the buffer's, or its second
// block's 16 bytes further) up to ROWS_END: the last sixteen of a block
// being scheduled, or all 64 of a block scheduled before; with BMI or
// without. Called from the routines above; outside their unwind tables
// each counts, for Windows, as a function that touches no saved register
// and no stack.
.macro ROUNDS_FROM_BUFFER_ROUTINE name, bmi
    .set    .Lbmi, \bmi
    .p2align 5
\name:
1:  SIXTEEN_ROUNDS 0
    addq    $128, %r15
    cmpq    ROWS_END(%rbp), %r15
    jne     1b
    ret
.endm
    ROUNDS_FROM_BUFFER_ROUTINE parcelor_sha256_rounds_from_buffer, 1
    ROUNDS_FROM_BUFFER_ROUTINE parcelor_sha256_rounds_from_buffer_plain, 0

#endif

#if defined(__ELF__)
    .section .note.GNU-stack, "", @progbits
#endif

#endif
