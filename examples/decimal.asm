; decimal.asm - prints signed numbers as decimal text.
; Shows: turning a word into digit characters by subtracting powers of
; ten, leaving out leading zeros, building a line in a buffer, and a
; subroutine called in a loop over a table.
; Prints 0, 7, -7, 1234, 32767, -32768 and 10000, one to a line.
MAIN	START
	LAD	GR4,0		; GR4 = index into NUMS
MLOOP	LD	GR1,NUMS,GR4	; GR1 = the number to print
	CALL	PRINTD
	LAD	GR4,1,GR4
	CPA	GR4,COUNT
	JMI	MLOOP
	RET
NUMS	DC	0,7,-7,1234,32767,-32768,10000
COUNT	DC	7
;
; PRINTD: prints GR1 as a signed decimal number on a line of its own.
; Every register keeps its value.
PRINTD	RPUSH
	LAD	GR2,0		; GR2 = characters in LINE so far
	LD	GR1,GR1		; negative?
	JMI	NEG
	JUMP	DIGITS
NEG	LD	GR3,MINUS
	ST	GR3,LINE,GR2
	LAD	GR2,1,GR2
	LD	GR3,GR1
	LAD	GR1,0
	SUBL	GR1,GR3		; GR1 = -GR1, read unsigned (-32768 gives 32768)
DIGITS	LAD	GR5,0		; GR5 = index into POWERS
	LAD	GR6,0		; GR6 = 1 once a digit has been written
DLOOP	LD	GR3,ZERO	; GR3 = this digit as a character
CLOOP	CPL	GR1,POWERS,GR5	; does the power of ten still fit?
	JMI	CDONE
	SUBL	GR1,POWERS,GR5
	LAD	GR3,1,GR3
	JUMP	CLOOP
CDONE	CPA	GR3,ZERO
	JNZ	PUT		; a digit other than 0 is always written
	LD	GR6,GR6
	JNZ	PUT		; so is a 0 after the first digit
	CPA	GR5,LAST
	JNZ	NEXT		; a leading 0 is left out, but not in the units
PUT	ST	GR3,LINE,GR2
	LAD	GR2,1,GR2
	LAD	GR6,1
NEXT	LAD	GR5,1,GR5
	CPA	GR5,NPOW
	JMI	DLOOP
	ST	GR2,LEN
	OUT	LINE,LEN
	RPOP
	RET
POWERS	DC	10000,1000,100,10,1
NPOW	DC	5		; number of entries in POWERS
LAST	DC	4		; index of the units
ZERO	DC	'0'
MINUS	DC	'-'
LINE	DS	6		; "-32768" is the longest
LEN	DS	1
	END
